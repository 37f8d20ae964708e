// SPDX-License-Identifier: GPL-3.0-or-later
// Resamples answered by another rule than the first restart at the best objective: the
// central one of more restarts at it, or the tensor of widest margin that fits no worse. The
// bootstrap's samples are those searches' answers, and on the example, where many tensors
// fit every twin, the rule moves some of them.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <vector>

#include "bootstrap/bootstrap.h"
#include "bootstrap/example_input.h"
#include "gemino/margin.h"

namespace {

bootstrap::Options few_resamples(uint64_t seed) {
  bootstrap::Options options;
  options.resamples = 6;
  options.seed = seed;
  options.jobs = 2;
  options.influence = false;
  return options;
}

// The rows and restart seed of resample `index` again, as the bootstrap draws them.
struct Drawn {
  std::vector<gemino::PlaneRow> rows;
  int32_t seed = 0;
};
Drawn draw_again(const bootstrap::RunInput& in, uint64_t seed, int32_t index) {
  Drawn d;
  bootstrap::TaskRandom random(seed, static_cast<uint64_t>(index));
  EXPECT_GE(bootstrap::draw_fitting_rows(in, bootstrap::grains_of(in.row_record), random, d.rows),
            0);
  d.seed = random.generator_seed();
  return d;
}

TEST(CentralResample, EachSampleIsTheCentralAnswerOfItsResample) {
  const bootstrap::RunInput& in = bootstrap_test::example_input();
  bootstrap::Options options = few_resamples(5);
  options.restarts_at_best = 4;
  options.widest_margin = false;
  const bootstrap::Summary s = bootstrap::run_bootstrap(in, options);
  const auto state = std::make_unique<gemino::State>();
  const gemino::ConvergedOptions defaults;
  int32_t moved = 0;
  for (int32_t index = 0; index < options.resamples; ++index) {
    const bootstrap::Sample& sample = s.samples[static_cast<std::size_t>(index)];
    ASSERT_TRUE(sample.valid);
    const Drawn d = draw_again(in, options.seed, index);
    const gemino::ConvergedResult four = bootstrap::invert_resample(d.rows, in, d.seed, *state, 4);
    EXPECT_TRUE(four.restarts_at_best >= 4 || four.restarts == defaults.max_restarts) << index;
    EXPECT_EQ(sample.R, four.best.tensor.params[3]) << index;
    EXPECT_EQ(sample.threshold, four.best.tensor.threshold) << index;
    const gemino::ConvergedResult two = bootstrap::invert_resample(d.rows, in, d.seed, *state);
    moved += two.best.tensor.params[3] != four.best.tensor.params[3] ? 1 : 0;
  }
  EXPECT_GT(moved, 0);
}

TEST(MarginResample, EachSampleIsItsResampleWidenedAndFitsItNoWorse) {
  const bootstrap::RunInput& in = bootstrap_test::example_input();
  // The bootstrap's own rule: every resample widened, the interval reaching to the brackets.
  const bootstrap::Options options = few_resamples(3);
  const bootstrap::Summary s = bootstrap::run_bootstrap(in, options);
  const auto state = std::make_unique<gemino::State>();
  int32_t moved = 0;
  std::vector<double> lows, highs;
  for (int32_t index = 0; index < options.resamples; ++index) {
    const bootstrap::Sample& sample = s.samples[static_cast<std::size_t>(index)];
    ASSERT_TRUE(sample.valid);
    const Drawn d = draw_again(in, options.seed, index);
    const gemino::ConvergedResult plain = bootstrap::invert_resample(d.rows, in, d.seed, *state);
    const gemino::ConvergedResult wide =
        bootstrap::invert_resample(d.rows, in, d.seed, *state, 2, true);
    EXPECT_EQ(sample.R, wide.best.tensor.params[3]) << index;
    EXPECT_EQ(sample.threshold, wide.best.tensor.threshold) << index;
    EXPECT_LE(sample.objective, plain.best.objective_reported) << index;
    moved += sample.R != plain.best.tensor.params[3] ? 1 : 0;
    // The bracket's upper end: the CRSS over the largest untwinned plane below the threshold.
    const std::optional<float> below = gemino::untwinned_below_threshold(*state);
    ASSERT_TRUE(below.has_value() && *below > 0.0f) << index;
    ASSERT_TRUE(sample.differential_high_mpa.has_value()) << index;
    EXPECT_EQ(*sample.differential_high_mpa, in.crss_mpa / *below) << index;
    EXPECT_GT(*sample.differential_high_mpa, *sample.differential_mpa) << index;
    lows.push_back(*sample.differential_mpa);
    highs.push_back(*sample.differential_high_mpa);
  }
  EXPECT_GT(moved, 0);
  // The interval runs from the low point of tau_c / SEUIL to the high point of the brackets.
  ASSERT_TRUE(s.differential_mpa.has_value());
  EXPECT_EQ(s.differential_mpa->low, bootstrap::percentile_interval(lows).low);
  EXPECT_EQ(s.differential_mpa->high, bootstrap::percentile_interval(highs).high);
  EXPECT_GT(s.differential_mpa->high, bootstrap::percentile_interval(lows).high);
}

}  // namespace
