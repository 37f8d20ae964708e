// SPDX-License-Identifier: GPL-3.0-or-later
// Twin data made from one, two or three known tensors, for measuring how well the
// separation finds them: a plane is twinned when the resolved shear stress of any event on
// it exceeds the critical value (every grain went through every event), then both measured
// directions are jittered and a share of labels is read the wrong way.
#pragma once

#include <cstdint>
#include <vector>

#include "gemino/invert.h"

namespace separation {

enum class MixtureKind : int32_t {
  single,         // one tensor: uniform axes, R in [0.2, 0.8]
  exchanged,      // two tensors, sigma1 and sigma3 exchanged, R of each in [0.2, 0.8]
  shared_sigma3,  // two tensors sharing sigma3: one oblate (R in [0.75, 0.9]), the other with
                  // sigma1 and sigma2 exchanged and R in [0.2, 0.8]
};

struct MixtureRecipe {
  uint64_t seed = 1;
  MixtureKind kind = MixtureKind::exchanged;
  int32_t grains = 100;        // three e-planes each
  double noise_deg = 3.0;      // spread of each measured direction
  double flipped_share = 0.0;  // labels read the wrong way
  double critical = 0.12;      // in units of sigma1 - sigma3 of each event
};

struct TrueTensor {
  double sigma1[3], sigma2[3], sigma3[3];
  double R;
};

struct Mixture {
  std::vector<gemino::PlaneRow> rows;  // data numbers: grain + 300 per earlier plane
  std::vector<TrueTensor> tensors;
};

Mixture make_mixture(const MixtureRecipe& recipe);

// The angle between two axes (degrees, 0 to 90).
double axis_angle_deg(const double (&a)[3], const float (&b)[3]);

}  // namespace separation
