// SPDX-License-Identifier: GPL-3.0-or-later
// Twin data made from a known tensor, with measurement noise and misread labels, for
// checking that the cones of the bootstrap hold the tensor the data came from.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "bootstrap/bootstrap.h"
#include "bootstrap/resampling.h"

namespace bootstrap {

struct SyntheticRecipe {
  uint64_t seed = 1;
  int32_t grains = 60;          // three e-planes each
  double noise_deg = 3.0;       // spread of each measured direction
  double flipped_share = 0.02;  // labels read the wrong way
  double critical = 0.12;       // twinned when the resolved shear stress exceeds it
  // The share of twins the inversion counts: 90 %, as after a scan of the percentages; at
  // 100 % the few misread twins set the threshold and widen the cones.
  int32_t twin_percent = 90;
  int32_t trial_count = 200;
  int32_t iteration_limit = 900;
};

struct SyntheticSet {
  RunInput input;               // the reference is the inversion of the whole set
  double sigma1[3], sigma3[3];  // the true axes
  double R;
  // Of the planes labelled twinned, the share whose resolved shear stress exceeds the
  // critical value: the share of twins a scan should suggest counting.
  double true_twin_share = 1.0;
  // The rows (indices into input.rows) labelled untwinned whose resolved shear stress
  // exceeds the critical value: twins read as untwinned, which no share of twins counted
  // sets aside.
  std::vector<int32_t> hidden_twin_rows;
  // The true threshold: the critical value, in units of sigma1 - sigma3 of the true
  // tensor (whose principal values are 1, R and 0), as the objective's SEUIL is.
  double threshold;
};

// A random true tensor (uniform axes, R in [0.2, 0.8]) and its data.
SyntheticSet make_synthetic(const SyntheticRecipe& recipe);

// The true tensor as search parameters: the angles whose rotation has the true sigma1,
// sigma2 and sigma3 as its columns, and R.
std::array<float, 4> true_params(const SyntheticSet& set);

// The true differential stress for a CRSS: CRSS over the true threshold.
double true_differential_mpa(const SyntheticSet& set, double crss_mpa);

// What the bootstrap of a set says about the truth it was made from: the full data
// inverted by the converged search (the set's single inversion a candidate), the
// bootstrap centred on its answer, and each measure against the true tensor.
struct SetCoverage {
  std::array<double, 3> cone_deg{};  // the 95 % cones of sigma1, sigma2, sigma3
  // The axial angles between the centre's sigma1 (sigma3) and the true one: over many sets,
  // their 95th percentile is the size one cone would need to hold the truth in 95 % of them.
  double sigma1_error_deg = 0.0;
  double sigma3_error_deg = 0.0;
  bool sigma1_holds = false;  // the true sigma1 lies within its cone
  bool sigma3_holds = false;
  bool differential_defined = false;  // the bootstrap gives a differential stress interval
  bool differential_holds = false;    // and it holds the true differential stress
  // The interval's width over the true differential stress (infinite for an unbounded one).
  double differential_width = 0.0;
  bool centre_converged = false;  // the converged answer fits better than the single run
  float answer_objective = 0.0f;  // the converged answer's objective on the full data
  float truth_objective = 0.0f;   // the true tensor's, on the same data
};
// The centre is the converged answer of the full data (the run's tensor when that fits as
// well), as the program centres the cones; widened to the tensor of widest margin when
// widen_centre is set (a trial of another centre).
SetCoverage measure_coverage(const SyntheticSet& set, const Options& options, bool widen_centre);
inline SetCoverage measure_coverage(const SyntheticSet& set, const Options& options) {
  return measure_coverage(set, options, false);
}

// The 95 % cone that a bootstrap of the set gives, and whether it holds the
// true sigma1 the set was made from.
struct Sigma1Cone {
  double cone_deg;
  bool holds;
};
Sigma1Cone sigma1_cone(const SyntheticSet& set, const Options& options);

}  // namespace bootstrap
