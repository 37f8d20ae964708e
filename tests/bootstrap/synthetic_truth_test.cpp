// SPDX-License-Identifier: GPL-3.0-or-later
// The truth a synthetic set is measured against: the true tensor as search parameters
// (its axes and R as the objective takes them), and the true threshold and differential
// stress of the generator's critical value.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "bootstrap/synthetic.h"
#include "gemino/converged.h"
#include "gemino/margin.h"
#include "gemino/objective.h"
#include "gemino/tensor.h"

namespace {

double angle_deg(const float (&axis)[3], const double (&truth)[3]) {
  const double a[3] = {axis[0], axis[1], axis[2]};
  return bootstrap::axis_angle_deg(a, truth);
}

bootstrap::SyntheticRecipe small_recipe(uint64_t seed) {
  bootstrap::SyntheticRecipe recipe;
  recipe.seed = seed;
  recipe.grains = 20;
  recipe.noise_deg = 0.0;
  recipe.flipped_share = 0.0;
  recipe.twin_percent = 100;
  recipe.trial_count = 60;
  recipe.iteration_limit = 300;
  return recipe;
}

TEST(SyntheticTruth, TrueParametersGiveTheTrueAxes) {
  const auto state = std::make_unique<gemino::State>();
  for (uint64_t seed = 1; seed <= 12; ++seed) {
    const bootstrap::SyntheticSet set = bootstrap::make_synthetic(small_recipe(seed));
    const std::array<float, 4> p = bootstrap::true_params(set);
    const float x[4] = {p[0], p[1], p[2], p[3]};
    gemino::fill_axis_matrix(*state, x);
    EXPECT_LT(angle_deg(state->axis_matrix[0], set.sigma1), 1e-3) << seed;
    EXPECT_LT(angle_deg(state->axis_matrix[2], set.sigma3), 1e-3) << seed;
    EXPECT_FLOAT_EQ(p[3], static_cast<float>(set.R)) << seed;
  }
}

TEST(SyntheticTruth, NoiseFreeDataFitTheTrueTensorAtTheCriticalValue) {
  // Every twinned plane of noise-free data carries more shear than the critical value and
  // every untwinned one less: the true tensor fits all rows, with a threshold just above it.
  for (uint64_t seed = 1; seed <= 4; ++seed) {
    const bootstrap::SyntheticSet set = bootstrap::make_synthetic(small_recipe(seed));
    EXPECT_DOUBLE_EQ(set.threshold, 0.12);
    EXPECT_DOUBLE_EQ(bootstrap::true_differential_mpa(set, 10.0), 10.0 / 0.12);
    const auto state = std::make_unique<gemino::State>();
    gemino::InversionOptions load;
    load.trial_count = 1;
    load.iteration_limit = 1;
    load.twin_percent = 100;
    load.seed = 1;
    ASSERT_EQ(gemino::invert(set.input.rows, load, *state).status, gemino::InversionStatus::done);
    const gemino::InvertedTensor truth = gemino::score_tensor(*state, bootstrap::true_params(set));
    EXPECT_EQ(truth.objective_reported, 0.0f) << seed;
    EXPECT_GT(truth.tensor.threshold, 0.12f) << seed;
    EXPECT_LT(truth.tensor.threshold, 0.2f) << seed;
  }
}

TEST(SyntheticTruth, CoverageOfANoiseFreeSet) {
  const bootstrap::SyntheticSet set = bootstrap::make_synthetic(small_recipe(5));
  bootstrap::Options options;
  options.resamples = 30;
  options.seed = 5;
  options.jobs = 2;
  options.influence = false;
  const bootstrap::SetCoverage c = bootstrap::measure_coverage(set, options);
  EXPECT_EQ(c.truth_objective, 0.0f);
  EXPECT_EQ(c.answer_objective, 0.0f);
  EXPECT_GT(c.cone_deg[0], 0.0);
  EXPECT_TRUE(c.differential_defined);
  // The answer lies in the region that fits every row: its sigma1 near the true one (an
  // error measured against the wrong axis would be near 90 degrees); 20 grains leave sigma3
  // free to turn far about it, and its cone says so.
  EXPECT_LT(c.sigma1_error_deg, 8.0) << c.sigma1_error_deg;
  EXPECT_TRUE(c.sigma1_holds);
  EXPECT_TRUE(c.sigma3_holds) << c.sigma3_error_deg << " " << c.cone_deg[2];
  EXPECT_GT(c.cone_deg[2], c.cone_deg[0]);
}

TEST(SyntheticTruth, TheWidestMarginNeverFitsNoisyDataWorseThanItsStart) {
  // With noise and misread labels untwinned planes stand above the threshold of the best
  // tensor found, and around it a tensor that lowers the highest of them can lift others.
  int32_t misfit = 0;
  for (uint64_t seed = 1; seed <= 16; ++seed) {
    bootstrap::SyntheticRecipe recipe = small_recipe(seed);
    recipe.grains = 40;
    recipe.noise_deg = 4.0;
    recipe.flipped_share = 0.05;
    const bootstrap::SyntheticSet set = bootstrap::make_synthetic(recipe);
    const auto state = std::make_unique<gemino::State>();
    gemino::InversionOptions options;
    options.trial_count = recipe.trial_count;
    options.iteration_limit = recipe.iteration_limit;
    options.twin_percent = recipe.twin_percent;
    options.seed = set.input.seed;
    const gemino::InversionResult r = gemino::invert(set.input.rows, options, *state);
    ASSERT_EQ(r.status, gemino::InversionStatus::done);
    misfit += r.final.objective_reported > 0.0f ? 1 : 0;
    const gemino::InvertedTensor wide = gemino::widen_margin(*state, r.final);
    EXPECT_LE(wide.objective_reported, r.final.objective_reported) << seed;
  }
  EXPECT_GT(misfit, 8);
}

TEST(SyntheticTruth, CountsTheTwinsReadAsUntwinned) {
  // Without noise a twin read as untwinned is an untwinned label whose resolved shear stress
  // under the true tensor exceeds the critical value; with every label flipped every
  // untwinned label is one, and without flips none is.
  int32_t hidden = 0;
  for (uint64_t seed = 1; seed <= 8; ++seed) {
    bootstrap::SyntheticRecipe recipe = small_recipe(seed);
    recipe.flipped_share = 0.3;
    const bootstrap::SyntheticSet set = bootstrap::make_synthetic(recipe);
    const auto state = std::make_unique<gemino::State>();
    gemino::InversionOptions load;
    load.trial_count = 1;
    load.iteration_limit = 1;
    load.seed = 1;
    gemino::invert(set.input.rows, load, *state);
    const std::array<float, 4> p = bootstrap::true_params(set);
    const float x[4] = {p[0], p[1], p[2], p[3]};
    float f = 0.0f;
    gemino::objective(*state, x, f);
    std::vector<int32_t> above;
    for (int32_t l = 0; l < state->data_count; ++l) {
      const int32_t row = state->shear_order[l];
      const bool untwinned = state->twin_flag[row - 1] <= 0;
      if (untwinned && state->shear_list[l] > set.threshold) above.push_back(row - 1);
    }
    std::sort(above.begin(), above.end());
    EXPECT_EQ(set.hidden_twin_rows, above) << seed;
    hidden += static_cast<int32_t>(set.hidden_twin_rows.size());

    recipe.flipped_share = 1.0;
    const bootstrap::SyntheticSet flipped = bootstrap::make_synthetic(recipe);
    std::vector<int32_t> untwinned_labels;
    for (std::size_t i = 0; i < flipped.input.rows.size(); ++i) {
      if (flipped.input.rows[i].twin_flag < 0) untwinned_labels.push_back(static_cast<int32_t>(i));
    }
    EXPECT_EQ(flipped.hidden_twin_rows, untwinned_labels) << seed;
    recipe.flipped_share = 0.0;
    EXPECT_TRUE(bootstrap::make_synthetic(recipe).hidden_twin_rows.empty()) << seed;
  }
  EXPECT_GT(hidden, 4);
}

}  // namespace
