// SPDX-License-Identifier: GPL-3.0-or-later
// The equal-area net: radius against plunge, azimuth against trend, upward lines flipped,
// and the net's own lines staying on or inside the primitive.
#include "figures/projection.h"

#include <gtest/gtest.h>

#include <cmath>

namespace figures {
namespace {

TEST(Projection, RadiusFollowsTheEqualAreaLaw) {
  const struct {
    double plunge, ratio;
  } cases[] = {{0.0, 1.0},
               {30.0, 0.70710678118654752},
               {45.0, 0.54119610014619698},
               {60.0, 0.36602540378443865},
               {90.0, 0.0}};
  for (const auto& c : cases) {
    EXPECT_NEAR(equal_area_radius(c.plunge), c.ratio, 1e-9) << c.plunge;
    const NetPoint p = project({123.0, c.plunge});
    EXPECT_NEAR(std::hypot(p.x, p.y), c.ratio, 1e-9) << c.plunge;
  }
}

TEST(Projection, TrendIsClockwiseFromNorthInEveryQuadrant) {
  const double r = equal_area_radius(30.0);
  const double h = r * std::sqrt(0.5);
  const struct {
    double trend, x, y;
  } cases[] = {{0.0, 0.0, r},    {45.0, h, h},    {90.0, r, 0.0},   {135.0, h, -h},
               {180.0, 0.0, -r}, {225.0, -h, -h}, {270.0, -r, 0.0}, {315.0, -h, h}};
  for (const auto& c : cases) {
    const NetPoint p = project({c.trend, 30.0});
    EXPECT_NEAR(p.x, c.x, 1e-9) << c.trend;
    EXPECT_NEAR(p.y, c.y, 1e-9) << c.trend;
  }
}

TEST(Projection, UpwardLinesAreFlippedToTheLowerHemisphere) {
  const LineOrientation down = lower_hemisphere({300.0, -20.0});
  EXPECT_NEAR(down.trend, 120.0, 1e-9);
  EXPECT_NEAR(down.plunge, 20.0, 1e-9);
  const NetPoint a = project({300.0, -20.0});
  const NetPoint b = project({120.0, 20.0});
  EXPECT_NEAR(a.x, b.x, 1e-9);
  EXPECT_NEAR(a.y, b.y, 1e-9);
  EXPECT_NEAR(lower_hemisphere({-30.0, 10.0}).trend, 330.0, 1e-9);
  EXPECT_NEAR(lower_hemisphere({725.0, 10.0}).trend, 5.0, 1e-9);
}

TEST(Projection, DirectionsGiveTrendAndPlunge) {
  const LineOrientation east = line_of_direction(0.0, 2.0, 0.0);
  EXPECT_NEAR(east.trend, 90.0, 1e-9);
  EXPECT_NEAR(east.plunge, 0.0, 1e-9);
  const LineOrientation up_sw = line_of_direction(1.0, 1.0, -std::sqrt(2.0));
  EXPECT_NEAR(up_sw.trend, 225.0, 1e-9);
  EXPECT_NEAR(up_sw.plunge, 45.0, 1e-9);
  EXPECT_NEAR(line_of_direction(0.0, 0.0, -1.0).plunge, 90.0, 1e-9);
}

TEST(Projection, NetLinesRunFromPrimitiveToPrimitive) {
  for (double dip : {-80.0, -10.0, 0.0, 40.0, 90.0}) {
    const std::vector<NetPoint> m = meridian(dip);
    ASSERT_EQ(m.size(), 91u);
    EXPECT_NEAR(m.front().y, 1.0, 1e-9);
    EXPECT_NEAR(m.back().y, -1.0, 1e-9);
    // The dip line in the middle: trend 90 (or 270), plunge |dip|.
    const double r = equal_area_radius(std::abs(dip));
    EXPECT_NEAR(m[45].x, dip < 0.0 ? -r : r, 1e-9) << dip;
  }
  for (double angle : {10.0, 90.0, 170.0}) {
    for (const NetPoint& p : parallel(angle)) EXPECT_LE(std::hypot(p.x, p.y), 1.0 + 1e-12);
  }
}

TEST(Projection, ConesCloseOrSplitAtThePrimitive) {
  // A cone around a steep axis is one closed loop.
  const auto steep = cone({40.0, 70.0}, 10.0);
  ASSERT_EQ(steep.size(), 1u);
  EXPECT_NEAR(steep[0].front().x, steep[0].back().x, 1e-9);
  EXPECT_NEAR(steep[0].front().y, steep[0].back().y, 1e-9);
  // Around a horizontal axis half the cone rises above the horizontal: two pieces, one
  // on each side of the net.
  const auto flat = cone({90.0, 0.0}, 10.0);
  ASSERT_EQ(flat.size(), 2u);
  EXPECT_GT(flat[0][1].x * flat[1][1].x, -2.0);
  EXPECT_LT(flat[0][1].x * flat[1][1].x, 0.0);
}

}  // namespace
}  // namespace figures
