// Twin data made from a known tensor, with measurement noise and misread labels, for
// checking that the cones of the bootstrap hold the tensor the data came from.
#pragma once

#include <cstdint>

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
};

// A random true tensor (uniform axes, R in [0.2, 0.8]) and its data.
SyntheticSet make_synthetic(const SyntheticRecipe& recipe);

// The 95 % cone of sigma1 that a bootstrap of the set gives, and whether it holds the
// true sigma1 the set was made from.
struct Sigma1Cone {
  double cone_deg;
  bool holds;
};
Sigma1Cone sigma1_cone(const SyntheticSet& set, const Options& options);

}  // namespace bootstrap
