// SPDX-License-Identifier: GPL-3.0-or-later
// The differential stress of a single run against the truth on synthetic sets: without
// noise CRSS / SEUIL finds the true value, and orientation noise biases it one way when
// every twin is counted and the other when a tenth of them is left out.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "bootstrap/synthetic.h"

namespace {

// The median over seeds 1..count of the estimated over the true differential stress; a set
// whose SEUIL is not positive counts as an estimate far too large.
double median_ratio(double noise_deg, int32_t twin_percent, int32_t count) {
  std::vector<double> ratio;
  for (int32_t seed = 1; seed <= count; ++seed) {
    bootstrap::SyntheticRecipe recipe;
    recipe.seed = static_cast<uint64_t>(seed);
    recipe.noise_deg = noise_deg;
    recipe.flipped_share = 0.0;
    recipe.twin_percent = twin_percent;
    const double seuil = bootstrap::make_synthetic(recipe).input.reference.threshold;
    ratio.push_back(seuil > 0.0 ? recipe.critical / seuil : 1e9);
  }
  std::nth_element(ratio.begin(), ratio.begin() + count / 2, ratio.end());
  return ratio[static_cast<std::size_t>(count / 2)];
}

TEST(SeuilBias, NoneWithoutNoiseOppositeWaysWithIt) {
  EXPECT_NEAR(median_ratio(0.0, 100, 100), 1.0, 0.05);
  const double all = median_ratio(3.0, 100, 100);
  const double most = median_ratio(3.0, 90, 100);
  EXPECT_GT(all, 1.03);
  EXPECT_LT(most, 0.9);
}

}  // namespace
