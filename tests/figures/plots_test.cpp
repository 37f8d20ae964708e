// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers behind the plots: round ticks and the cumulative curve's steps.
#include <gtest/gtest.h>

#include "figures/plot_axes.h"
#include "figures/plots.h"

namespace figures {
namespace {

TEST(PlotNumbers, TicksFallOnRoundSteps) {
  const struct {
    double lo, hi;
    int count;
    std::vector<double> ticks;
    int decimals;
  } cases[] = {
      {-0.5, 0.5, 10, {-0.5, -0.4, -0.3, -0.2, -0.1, 0.0, 0.1, 0.2, 0.3, 0.4, 0.5}, 1},
      {0.0, 100.0, 8, {0, 20, 40, 60, 80, 100}, 0},
      {-41.7, 41.7, 10, {-40, -30, -20, -10, 0, 10, 20, 30, 40}, 0},
      {0.0, 0.013, 4, {0.0, 0.005, 0.010}, 3},
  };
  for (const auto& c : cases) {
    const std::vector<double> ticks = nice_ticks(c.lo, c.hi, c.count);
    ASSERT_EQ(ticks.size(), c.ticks.size()) << c.lo << " " << c.hi;
    for (std::size_t i = 0; i < ticks.size(); ++i) EXPECT_NEAR(ticks[i], c.ticks[i], 1e-12);
    EXPECT_EQ(decimals_for(ticks), c.decimals);
  }
  EXPECT_TRUE(nice_ticks(1.0, 1.0, 5).empty());
}

TEST(PlotNumbers, CumulativeStepsCountFromTheHighestTau) {
  const std::vector<Point> steps = cumulative_steps({0.1, 0.4, -0.2, 0.1});
  ASSERT_EQ(steps.size(), 3u);
  EXPECT_DOUBLE_EQ(steps[0].x, 0.4);
  EXPECT_DOUBLE_EQ(steps[0].y, 25.0);
  // Two planes of equal TAU reach their share together.
  EXPECT_DOUBLE_EQ(steps[1].x, 0.1);
  EXPECT_DOUBLE_EQ(steps[1].y, 75.0);
  EXPECT_DOUBLE_EQ(steps[2].y, 100.0);
  EXPECT_TRUE(cumulative_steps({}).empty());
}

}  // namespace
}  // namespace figures
