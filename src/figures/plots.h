// SPDX-License-Identifier: GPL-3.0-or-later
// The shear-stress plot and the cumulative chart of a result, from inputs of their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "figures/figure.h"
#include "figures/stereonet.h"

namespace figures {

struct PlanePoint {
  int32_t number = 0;
  double tau = 0.0;     // resolved shear stress, in units of σ1 − σ3
  double normal = 0.0;  // normal-stress term, compression positive, same units
  bool twinned = false;
  PoleKind kind = PoleKind::counted;
};

struct PlotInput {
  std::string title;
  std::vector<PlanePoint> planes;
  double threshold = 0.0;  // SEUIL, units of σ1 − σ3
  // σ1 − σ3 in MPa for the critical resolved shear stress `crss_mpa`, when it is known.
  std::optional<double> stress_difference_mpa;
  double crss_mpa = 10.0;
};

// TAU across, the normal-stress term up, inside the circle of all possible stress states;
// SEUIL as a vertical line; with the stress difference, a second TAU axis in MPa on top.
Figure shear_stress_plot(const PlotInput& input, double width, double height);

// Cumulative percentage of twinned and of untwinned planes at or above each TAU, from
// the highest TAU down, with SEUIL marked.
Figure cumulative_chart(const PlotInput& input, double width, double height);

// The steps of one cumulative curve: for the TAU values sorted from high to low, the
// percentage of the values at or above each. Empty for no values.
std::vector<Point> cumulative_steps(std::vector<double> taus);

}  // namespace figures
