// SPDX-License-Identifier: GPL-3.0-or-later
// The stress stereonet's geometry read back from its SVG: each confidence cone drawn at
// its own angle around its own axis, and the SHmax bars of the bundled example along the
// azimuth of its sigma1 (strike slip with sigma3 plunging more than 20 degrees).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "figures/confidence_figures.h"
#include "figures/example_run.h"
#include "figures/result_figures.h"
#include "figures/svg_reading.h"
#include "figures/svg_writer.h"

namespace figures {
namespace {

constexpr double degree = std::numbers::pi / 180.0;

struct Net {
  double cx, cy, r;
};

Net primitive_of(const std::vector<testing::SvgElement>& elements) {
  const auto primitive = testing::with_class(elements, "primitive");
  EXPECT_EQ(primitive.size(), 1u);
  const auto& a = primitive.at(0).attributes;
  return {std::stod(a.at("cx")), std::stod(a.at("cy")), std::stod(a.at("r"))};
}

std::vector<Point> points_of(const testing::SvgElement& e) {
  std::vector<Point> points;
  std::istringstream in(e.attributes.at("points"));
  for (std::string pair; in >> pair;) {
    const std::size_t comma = pair.find(',');
    points.push_back({std::stod(pair.substr(0, comma)), std::stod(pair.substr(comma + 1))});
  }
  return points;
}

// The downward unit vector (east, north, down) of a point of the page on the net, by the
// inverse of the equal-area law: radius sqrt(2) sin((90 - plunge) / 2).
std::array<double, 3> line_at(const Net& net, Point p) {
  const double x = (p.x - net.cx) / net.r;
  const double y = (net.cy - p.y) / net.r;
  const double rho = std::min(std::hypot(x, y), 1.0);
  const double plunge = 90.0 * degree - 2.0 * std::asin(rho / std::sqrt(2.0));
  const double trend = std::atan2(x, y);
  return {std::cos(plunge) * std::sin(trend), std::cos(plunge) * std::cos(trend), std::sin(plunge)};
}

double angle_deg(const std::array<double, 3>& a, const float (&axis)[3]) {
  // The axis is (east, north, up); lines have no sense, so the smaller angle counts.
  const double dot = a[0] * axis[0] + a[1] * axis[1] - a[2] * axis[2];
  return std::acos(std::min(std::fabs(dot), 1.0)) / degree;
}

using figures_test::example_run;

TEST(StereonetGeometry, EachConeAtItsAngleAroundItsOwnAxis) {
  // Cones of different sizes; sigma3's rises above the horizontal and shows in two pieces.
  bootstrap::Summary summary;
  summary.cone95_deg = {7.5, 23.25, 41.0};
  const StereonetExtras extras = confidence_marks(summary, example_run().result);
  const auto elements = testing::svg_elements(svg_document(result_figure(
      FigureKind::stereonet, example_run().result, example_run().magnitudes, 600, 500, &extras)));
  const Net net = primitive_of(elements);
  const results::Axis* axes[3] = {&example_run().result.result.sigma1,
                                  &example_run().result.result.sigma2,
                                  &example_run().result.result.sigma3};
  int32_t pieces[3] = {0, 0, 0};
  for (const testing::SvgElement& cone : testing::with_class(elements, "cone")) {
    const int32_t sigma = std::stoi(cone.attributes.at("data-sigma"));
    ASSERT_GE(sigma, 1);
    ASSERT_LE(sigma, 3);
    const auto j = static_cast<std::size_t>(sigma - 1);
    ++pieces[j];
    // Said: the angle of the summary, around the axis the sigma mark stands on.
    EXPECT_EQ(cone.attributes.at("data-cone-deg"), format_number(summary.cone95_deg[j], 2));
    const auto mark = testing::with_class(elements, "sigma" + std::to_string(sigma));
    ASSERT_EQ(mark.size(), 1u);
    EXPECT_EQ(cone.attributes.at("data-axis-trend"), mark[0].attributes.at("data-trend"));
    EXPECT_EQ(cone.attributes.at("data-axis-plunge"), mark[0].attributes.at("data-plunge"));
    // Drawn: every point of the piece lies that far from the axis (the page's coordinates
    // are kept to a hundredth of a point).
    const std::vector<Point> points = points_of(cone);
    ASSERT_GE(points.size(), 2u);
    for (const Point& p : points) {
      EXPECT_NEAR(angle_deg(line_at(net, p), axes[j]->vector), summary.cone95_deg[j], 0.05)
          << "sigma" << sigma << " at " << p.x << "," << p.y;
    }
  }
  EXPECT_GE(pieces[0], 1);
  EXPECT_GE(pieces[1], 1);
  EXPECT_GE(pieces[2], 2);
}

TEST(StereonetGeometry, ShmaxBarsAlongTheExamplesSigma1) {
  ASSERT_EQ(results::regime_name(example_run().magnitudes.regime), "SS");
  const auto elements = testing::svg_elements(svg_document(result_figure(
      FigureKind::stereonet, example_run().result, example_run().magnitudes, 600, 500, nullptr)));
  const Net net = primitive_of(elements);
  const auto bars = testing::with_class(elements, "shmax");
  ASSERT_EQ(bars.size(), 2u);
  double seen[2] = {0.0, 0.0};
  for (std::size_t k = 0; k < 2; ++k) {
    EXPECT_EQ(bars[k].attributes.at("data-azimuth"), "40.4");
    // Both ends of a bar on the one radius at that azimuth, outside the net's edge.
    const std::vector<Point> ends = points_of(bars[k]);
    ASSERT_EQ(ends.size(), 2u);
    for (const Point& p : ends) {
      double azimuth = std::atan2(p.x - net.cx, net.cy - p.y) / degree;
      if (azimuth < 0.0) azimuth += 360.0;
      EXPECT_GT(std::hypot(p.x - net.cx, p.y - net.cy), 0.9 * net.r);
      seen[k] = azimuth;
      EXPECT_NEAR(std::fmod(azimuth, 180.0), 40.37, 0.05);
    }
  }
  // One bar on each side of the net.
  EXPECT_NEAR(std::fabs(seen[0] - seen[1]), 180.0, 0.1);
}

// Dots that are the planes' poles (coloured by tensor) replace the poles drawn by class;
// other dots (resampled axes) come beside them.
TEST(StereonetGeometry, DotsThatArePolesReplaceThePolesByClass) {
  const results::Result& r = example_run().result;
  StereonetExtras extras;
  for (const results::Plane& plane : r.planes) {
    extras.dots.push_back({{plane.pole.trend, plane.pole.plunge}, 1});
  }
  for (const bool dots_are_poles : {false, true}) {
    extras.pole_dot_rows.clear();
    if (dots_are_poles) {
      extras.pole_dot_rows = {{1, "planes of tensor 1"}, {0, "untwinned or unexplained"}};
    }
    const Figure f =
        result_figure(FigureKind::stereonet, r, example_run().magnitudes, 600, 500, &extras);
    const auto elements = testing::svg_elements(svg_document(f));
    EXPECT_EQ(testing::with_class(elements, "pole").size(), dots_are_poles ? 0u : r.planes.size());
    EXPECT_EQ(testing::with_class(elements, "resample").size(), r.planes.size());
    // The legend names what is drawn: the dots' colours, or the kinds of pole.
    std::vector<std::string> texts;
    for (const Item& item : f.items) {
      if (item.kind == Item::Kind::text) texts.push_back(item.text);
    }
    const auto has = [&](const char* text) {
      return std::find(texts.begin(), texts.end(), text) != texts.end();
    };
    EXPECT_EQ(has("planes of tensor 1"), dots_are_poles);
    EXPECT_EQ(has("untwinned or unexplained"), dots_are_poles);
    EXPECT_EQ(has("twinned, τ above SEUIL"), !dots_are_poles);
    EXPECT_EQ(has("untwinned, τ above SEUIL"), !dots_are_poles);
  }
}

}  // namespace
}  // namespace figures
