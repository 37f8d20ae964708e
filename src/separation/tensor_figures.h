// SPDX-License-Identifier: GPL-3.0-or-later
// The stereonets of a separation: one per tensor, the run's result seen under it, and one
// of every tensor at once, the planes coloured by their tensor. Both programs draw these.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "figures/result_figures.h"
#include "results/magnitudes.h"
#include "results/result_model.h"
#include "separation/separation.h"

namespace separation {

struct TensorStereonet {
  std::string tag;  // "t1", "t2", "t3", or "tensors" for the one of all of them
  results::Result result;
  results::StressMagnitudes stress;
  figures::StereonetExtras extras;  // empty but for the one of all tensors
  bool combined = false;
};

// The stereonet of each tensor, first tensor first, for the CRSS `crss_mpa`, then the one of
// every tensor: the first tensor's axes drawn as the stereonet draws them (with its own
// magnitudes, as in its own stereonet), each pole coloured by its tensor (grey for none) and the
// other tensors' axes as small cones in the colours of sigma 1, 2 and 3. `rows` are the run's rows,
// in the order of run_result.planes.
std::vector<TensorStereonet> tensor_stereonets(const results::Result& run_result,
                                               std::span<const gemino::PlaneRow> rows,
                                               const Separation& s, double crss_mpa);

// The figure of one of them at a size in points.
figures::Figure tensor_figure(const TensorStereonet& net, double width, double height);

}  // namespace separation
