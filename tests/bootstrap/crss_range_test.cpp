// SPDX-License-Identifier: GPL-3.0-or-later
// The CRSS drawn per resample: the range's text, the draws from a task's stream, and a
// bootstrap whose resamples keep their tensors and carry the drawn CRSS into the
// differential stress, the same for any number of workers.
#include <gtest/gtest.h>

#include <string>

#include "bootstrap/bootstrap.h"
#include "bootstrap/crss_range.h"
#include "bootstrap/example_input.h"

namespace {

struct RangeCase {
  const char* text;
  bool valid;
  double low, high;
};

TEST(CrssRange, ParsesOnlyPositiveOrderedRanges) {
  const RangeCase cases[] = {
      {"6:14", true, 6, 14},       {"10:10", true, 10, 10},  {"0.5:1e2", true, 0.5, 100},
      {".5:.75", true, 0.5, 0.75}, {"0:14", false, 0, 0},    {"-1:14", false, 0, 0},
      {"+6:14", false, 0, 0},      {"14:6", false, 0, 0},    {"10.0001:10", false, 0, 0},
      {"6", false, 0, 0},          {"6:", false, 0, 0},      {":14", false, 0, 0},
      {"6:14:2", false, 0, 0},     {"6 :14", false, 0, 0},   {"inf:inf", false, 0, 0},
      {"nan:14", false, 0, 0},     {"6:1e999", false, 0, 0}, {"", false, 0, 0},
  };
  for (const RangeCase& c : cases) {
    const auto range = bootstrap::parse_crss_range(c.text);
    ASSERT_EQ(range.has_value(), c.valid) << c.text;
    if (!range) continue;
    EXPECT_EQ(range->low_mpa, c.low) << c.text;
    EXPECT_EQ(range->high_mpa, c.high) << c.text;
  }
}

TEST(CrssRange, DrawsSpanTheRangeAndFollowTheTaskStream) {
  const bootstrap::CrssRange range{6.0, 14.0};
  int32_t below_middle = 0;
  double least = 14.0, most = 6.0;
  for (uint64_t index = 0; index < 4000; ++index) {
    bootstrap::TaskRandom random(7, index), again(7, index);
    const double crss = bootstrap::draw_crss(range, random);
    ASSERT_EQ(crss, bootstrap::draw_crss(range, again)) << index;
    ASSERT_GE(crss, 6.0);
    ASSERT_LE(crss, 14.0);
    if (crss < 10.0) ++below_middle;
    least = std::min(least, crss);
    most = std::max(most, crss);
  }
  // Uniform: half below the middle (4 standard deviations is 126), the ends reached.
  EXPECT_NEAR(below_middle, 2000, 126);
  EXPECT_LT(least, 6.05);
  EXPECT_GT(most, 13.95);
  bootstrap::TaskRandom random(7, 0);
  EXPECT_EQ(bootstrap::draw_crss({10.0, 10.0}, random), 10.0);
}

TEST(CrssRange, ResamplesKeepTheirTensorsAndCarryTheirOwnCrss) {
  const bootstrap::RunInput& in = bootstrap_test::example_input();
  bootstrap::Options options;
  options.resamples = 10;
  options.seed = 3;
  options.jobs = 1;
  options.influence = false;
  const auto fixed = bootstrap::run_bootstrap(in, options);
  options.crss_range = bootstrap::CrssRange{6.0, 14.0};
  const auto drawn = bootstrap::run_bootstrap(in, options);
  options.jobs = 2;
  const auto two = bootstrap::run_bootstrap(in, options);
  ASSERT_TRUE(drawn.crss_range.has_value());
  EXPECT_FALSE(fixed.crss_range.has_value());
  bool differs = false;
  for (std::size_t k = 0; k < 10; ++k) {
    const auto& f = fixed.samples[k];
    const auto& d = drawn.samples[k];
    ASSERT_TRUE(f.valid && d.valid && f.differential_mpa && d.differential_mpa) << k;
    // The draw comes after the grains and the seed: the same tensor, another CRSS.
    EXPECT_EQ(f.threshold, d.threshold) << k;
    EXPECT_EQ(f.R, d.R) << k;
    EXPECT_EQ(f.crss_mpa, in.crss_mpa);
    EXPECT_GE(d.crss_mpa, 6.0);
    EXPECT_LE(d.crss_mpa, 14.0);
    EXPECT_DOUBLE_EQ(*d.differential_mpa, d.crss_mpa / d.threshold) << k;
    EXPECT_EQ(d.crss_mpa, two.samples[k].crss_mpa) << k;
    if (d.crss_mpa != in.crss_mpa) differs = true;
  }
  EXPECT_TRUE(differs);
  ASSERT_TRUE(drawn.differential_mpa && two.differential_mpa);
  EXPECT_EQ(drawn.differential_mpa->low, two.differential_mpa->low);
  EXPECT_EQ(drawn.differential_mpa->high, two.differential_mpa->high);
}

}  // namespace
