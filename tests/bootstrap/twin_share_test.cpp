// SPDX-License-Identifier: GPL-3.0-or-later
// The suggested share of twins on worked scan tables: the rate of untwinned planes coming
// in above the threshold against the data's own ratio, at and just past each bound.
#include <gtest/gtest.h>

#include <vector>

#include "bootstrap/twin_share.h"

namespace {

using bootstrap::SharePoint;

// Rows counting 30 to 40 twins, 75 % to 95 % in steps of 2; untwinned planes above as given.
std::vector<SharePoint> table(const std::vector<int32_t>& untwinned_above) {
  std::vector<SharePoint> points;
  for (std::size_t i = 0; i < untwinned_above.size(); ++i) {
    const auto k = static_cast<int32_t>(i);
    points.push_back({75 + 2 * k, true, 30 + k, untwinned_above[i]});
  }
  return points;
}

TEST(SuggestedShare, WorkedTablesAtTheBounds) {
  // 40 twinned and 80 untwinned planes: 2 untwinned planes per twinned one, a window of 2.
  struct Case {
    const char* what;
    std::vector<int32_t> untwinned_above;
    int32_t suggested;
  };
  const Case cases[] = {
      {"flat: the most twins", {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 95},
      {"a rise of exactly 2 per twin is no knee", {0, 0, 0, 0, 0, 0, 0, 0, 2, 4, 6}, 95},
      {"2.5 per twin is: the row before it rises", {0, 0, 0, 0, 0, 0, 0, 0, 2, 4, 7}, 91},
      {"the last row of the window still at the first row's count",
       {0, 0, 0, 0, 0, 0, 0, 0, 0, 5, 10},
       91},
      {"a bump the next window does not keep up is noise", {0, 0, 5, 5, 5, 5, 5, 5, 5, 5, 5}, 95},
      {"the next window at exactly 2 per twin is not kept up",
       {0, 0, 5, 5, 9, 9, 9, 9, 9, 9, 9},
       95},
      {"the next window at 2.5 per twin keeps it up", {0, 0, 5, 5, 10, 10, 10, 10, 10, 10, 10}, 77},
      {"a row with fewer untwinned planes above stays before the knee",
       {3, 3, 3, 3, 3, 3, 2, 1, 9, 14, 19},
       89},
  };
  for (const Case& c : cases) {
    const auto points = table(c.untwinned_above);
    const auto s = bootstrap::suggest_share(points, 40, 80);
    ASSERT_TRUE(s.has_value()) << c.what;
    EXPECT_EQ(s->twin_percent, c.suggested) << c.what;
    EXPECT_EQ(points[static_cast<std::size_t>(s->row)].twin_percent, c.suggested) << c.what;
    EXPECT_DOUBLE_EQ(s->reference_rate, 2.0) << c.what;
    EXPECT_FALSE(s->reason.empty()) << c.what;
  }
}

TEST(SuggestedShare, SkipsRowsNotInvertedAndSharesThatCountNoMoreTwins) {
  // The knee of the third case above, with a second row counting 34 twins and a row that
  // was not inverted right after the knee (taken in, it would extend the walk to 92 %).
  const std::vector<SharePoint> points = {{75, true, 30, 0}, {77, true, 31, 0},  {79, true, 32, 0},
                                          {81, true, 33, 0}, {83, true, 34, 0},  {84, true, 34, 0},
                                          {85, true, 35, 0}, {87, true, 36, 0},  {89, true, 37, 0},
                                          {91, true, 38, 2}, {92, false, 39, 0}, {93, true, 39, 4},
                                          {95, true, 40, 7}};
  const auto s = bootstrap::suggest_share(points, 40, 80);
  ASSERT_TRUE(s.has_value());
  EXPECT_EQ(s->twin_percent, 91);
  EXPECT_EQ(s->row, 9);
  EXPECT_DOUBLE_EQ(s->rate_after, 2.5);
}

TEST(SuggestedShare, NoneWithoutTwoInvertedRowsOrTwins) {
  std::vector<SharePoint> one = table({0, 0});
  one[1].valid = false;
  EXPECT_FALSE(bootstrap::suggest_share(one, 40, 80).has_value());
  EXPECT_FALSE(bootstrap::suggest_share(table({0, 0}), 0, 80).has_value());
  EXPECT_TRUE(bootstrap::suggest_share(table({0, 0}), 40, 80).has_value());
}

TEST(SuggestedShare, WindowIsATwentiethOfTheTwinsAndAtLeastTwo) {
  const int32_t cases[][2] = {{0, 2}, {39, 2}, {59, 2}, {60, 3}, {79, 3}, {100, 5}, {200, 10}};
  for (const auto& c : cases) EXPECT_EQ(bootstrap::share_window(c[0]), c[1]) << c[0];
}

}  // namespace
