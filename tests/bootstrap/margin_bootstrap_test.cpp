// SPDX-License-Identifier: GPL-3.0-or-later
// Resamples answered by the tensor of widest margin, and the differential stress interval
// that reaches to the upper ends of the resamples' brackets.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "bootstrap/bootstrap.h"
#include "bootstrap/example_input.h"
#include "gemino/margin.h"

namespace {

TEST(MarginBootstrap, EachSampleIsItsResampleWidenedAndFitsItNoWorse) {
  const bootstrap::RunInput& in = bootstrap_test::example_input();
  bootstrap::Options options;
  options.resamples = 6;
  options.seed = 3;
  options.jobs = 2;
  options.influence = false;
  options.widest_margin = true;
  options.bracket_interval = true;
  const bootstrap::Summary s = bootstrap::run_bootstrap(in, options);
  const auto grains = bootstrap::grains_of(in.row_record);
  std::vector<gemino::PlaneRow> rows;
  const auto state = std::make_unique<gemino::State>();
  int32_t moved = 0;
  for (int32_t index = 0; index < options.resamples; ++index) {
    const bootstrap::Sample& sample = s.samples[static_cast<std::size_t>(index)];
    ASSERT_TRUE(sample.valid);
    bootstrap::TaskRandom random(options.seed, static_cast<uint64_t>(index));
    ASSERT_GE(bootstrap::draw_fitting_rows(in, grains, random, rows), 0);
    const int32_t seed = random.generator_seed();
    const gemino::ConvergedResult plain = bootstrap::invert_resample(rows, in, seed, *state);
    const gemino::ConvergedResult wide =
        bootstrap::invert_resample(rows, in, seed, *state, 2, true);
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
  }
  EXPECT_GT(moved, 0);
}

// A summary of n samples with SEUIL 0.1 (100 MPa for a CRSS of 10) whose brackets reach to
// 100 + i MPa, the last `unbounded` of them without an upper end.
bootstrap::Summary brackets(int32_t n, int32_t unbounded, bool bracket_interval) {
  bootstrap::Summary s;
  s.bracket_interval = bracket_interval;
  for (int32_t i = 0; i < n; ++i) {
    bootstrap::Sample sample;
    sample.valid = true;
    sample.axes[0][2] = -1.0f;
    sample.axes[1][0] = 1.0f;
    sample.axes[2][1] = 1.0f;
    sample.threshold = 0.1f;
    sample.differential_mpa = 100.0;
    if (i < n - unbounded) sample.differential_high_mpa = 100.0 + i;
    s.samples.push_back(sample);
  }
  return s;
}

TEST(MarginBootstrap, TheIntervalReachesTheBracketsUpperEndsAndIsUnboundedPastTheirPercentile) {
  const bootstrap::RunInput& in = bootstrap_test::example_input();
  struct Case {
    int32_t unbounded;
    bool infinite;
  };
  // Of 1000 samples the 97.5 % point lies between the 975th and 976th values in order.
  for (const Case c : {Case{0, false}, Case{24, false}, Case{25, true}, Case{1000, true}}) {
    bootstrap::Summary s = brackets(1000, c.unbounded, true);
    bootstrap::summarize(in, s);
    ASSERT_TRUE(s.differential_mpa.has_value());
    EXPECT_EQ(s.differential_mpa->low, 100.0) << c.unbounded;
    EXPECT_EQ(std::isinf(s.differential_mpa->high), c.infinite) << c.unbounded;
    if (!c.infinite) {
      EXPECT_GT(s.differential_mpa->high, 1000.0) << c.unbounded;
    }
  }
  // Without the option the upper ends are not looked at.
  bootstrap::Summary plain = brackets(1000, 1000, false);
  bootstrap::summarize(in, plain);
  ASSERT_TRUE(plain.differential_mpa.has_value());
  EXPECT_EQ(plain.differential_mpa->high, 100.0);
}

}  // namespace
