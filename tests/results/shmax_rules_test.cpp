// SPDX-License-Identifier: GPL-3.0-or-later
// SHmax by the two rules: the regime table's axis and the horizontal line of largest
// compression of the tensor. They agree for a strike-slip tensor with flat sigma1 and sigma3,
// and part by a right angle for normal faulting with a small R and a tilted sigma1.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "results/magnitudes.h"
#include "results/magnitudes_text.h"

namespace {

constexpr double pi = 3.14159265358979323846;

void set_axis(results::Axis& axis, double trend, double plunge) {
  const double r = pi / 180.0;
  const float v[3] = {static_cast<float>(std::cos(plunge * r) * std::sin(trend * r)),
                      static_cast<float>(std::cos(plunge * r) * std::cos(trend * r)),
                      static_cast<float>(-std::sin(plunge * r))};
  for (int k = 0; k < 3; ++k) axis.vector[k] = v[k];
  axis.line = results::line_of(v);
}

results::TensorResult tensor(const double (&lines)[3][2], float R) {
  results::TensorResult t{};
  results::Axis* axes[3] = {&t.sigma1, &t.sigma2, &t.sigma3};
  for (int j = 0; j < 3; ++j) set_axis(*axes[j], lines[j][0], lines[j][1]);
  t.R = R;
  return t;
}

double half_turn_distance(double a, double b) {
  const double d = std::fmod(std::fabs(a - b), 180.0);
  return std::min(d, 180.0 - d);
}

// The normal stress (compression positive) on the horizontal line at an azimuth, from the
// principal values 1, R, 0 along the axes: the constant part of the deviator changes nothing.
double horizontal_normal_stress(const results::TensorResult& t, double azimuth_deg) {
  const double a = azimuth_deg * pi / 180.0;
  const double n[3] = {std::sin(a), std::cos(a), 0.0};
  const results::Axis* axes[3] = {&t.sigma1, &t.sigma2, &t.sigma3};
  const double values[3] = {1.0, static_cast<double>(t.R), 0.0};
  double stress = 0.0;
  for (int j = 0; j < 3; ++j) {
    double c = 0.0;
    for (int k = 0; k < 3; ++k) c += n[k] * axes[j]->vector[k];
    stress += values[j] * c * c;
  }
  return stress;
}

struct RuleCase {
  const char* name;
  double lines[3][2];  // trend and plunge of sigma1, sigma2, sigma3
  float R;
  results::Regime regime;
  double table, horizontal;  // the two SHmax azimuths
};

class ShmaxRules : public testing::TestWithParam<RuleCase> {};

TEST_P(ShmaxRules, TableAndHorizontalCompression) {
  const RuleCase& c = GetParam();
  const results::TensorResult t = tensor(c.lines, c.R);
  const results::Regime regime = results::regime_of(t);
  ASSERT_EQ(results::regime_name(regime), results::regime_name(c.regime));
  EXPECT_NEAR(half_turn_distance(results::shmax_azimuth(t, regime), c.table), 0.0, 1e-3);
  EXPECT_NEAR(half_turn_distance(results::shmax_horizontal_azimuth(t), c.horizontal), 0.0, 1e-3);
}

// Normal faulting with sigma1 at 60 degrees toward north and sigma2 flat east: along north
// the compression is R-free, cos^2 60 = 0.25 of sigma1 - sigma3; along east it is R. Below
// R = 0.25 north wins, above it east: the table says east (sigma2) whatever R is.
INSTANTIATE_TEST_SUITE_P(
    Tensors, ShmaxRules,
    testing::Values(
        RuleCase{"normal_small_R", {{0, 60}, {90, 0}, {180, 30}}, 0.1f, results::Regime::NF, 90, 0},
        RuleCase{"normal_R_just_below",
                 {{0, 60}, {90, 0}, {180, 30}},
                 0.24f,
                 results::Regime::NF,
                 90,
                 0},
        RuleCase{"normal_R_just_above",
                 {{0, 60}, {90, 0}, {180, 30}},
                 0.26f,
                 results::Regime::NF,
                 90,
                 90},
        RuleCase{
            "normal_vertical", {{0, 90}, {35, 0}, {125, 0}}, 0.1f, results::Regime::NF, 35, 35},
        RuleCase{
            "strike_slip_flat", {{10, 0}, {0, 90}, {100, 0}}, 0.3f, results::Regime::SS, 10, 10},
        RuleCase{"thrust", {{160, 0}, {70, 0}, {0, 90}}, 0.7f, results::Regime::TF, 160, 160}),
    [](const testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

// Over random tensors, the rule's azimuth gives the largest horizontal normal stress of a
// sweep in steps of 0.01 degree, and it lies in [0, 180).
TEST(ShmaxRules, HorizontalRuleMaximisesTheHorizontalNormalStress) {
  std::mt19937_64 random(20);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  for (int trial = 0; trial < 200; ++trial) {
    // A random rotation from a random unit quaternion.
    const double u1 = unit(random), u2 = unit(random) * 2 * pi, u3 = unit(random) * 2 * pi;
    const double w = std::sqrt(1 - u1) * std::sin(u2), x = std::sqrt(1 - u1) * std::cos(u2);
    const double y = std::sqrt(u1) * std::sin(u3), z = std::sqrt(u1) * std::cos(u3);
    const double rot[3][3] = {{1 - 2 * (y * y + z * z), 2 * (x * y - z * w), 2 * (x * z + y * w)},
                              {2 * (x * y + z * w), 1 - 2 * (x * x + z * z), 2 * (y * z - x * w)},
                              {2 * (x * z - y * w), 2 * (y * z + x * w), 1 - 2 * (x * x + y * y)}};
    results::TensorResult t{};
    results::Axis* axes[3] = {&t.sigma1, &t.sigma2, &t.sigma3};
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) axes[j]->vector[k] = static_cast<float>(rot[k][j]);
      axes[j]->line = results::line_of(axes[j]->vector);
    }
    t.R = static_cast<float>(unit(random));
    const double found = results::shmax_horizontal_azimuth(t);
    ASSERT_GE(found, 0.0);
    ASSERT_LT(found, 180.0);
    double best = -1.0, best_azimuth = 0.0;
    for (int step = 0; step < 18000; ++step) {
      const double stress = horizontal_normal_stress(t, step * 0.01);
      if (stress > best) {
        best = stress;
        best_azimuth = step * 0.01;
      }
    }
    EXPECT_GE(horizontal_normal_stress(t, found), best - 1e-9) << trial;
    // Where the horizontal part is not nearly isotropic the maximum is sharp.
    const double spread = best - horizontal_normal_stress(t, best_azimuth + 90.0);
    if (spread > 1e-2) {
      EXPECT_LT(half_turn_distance(found, best_azimuth), 0.05) << trial;
    }
  }
}

TEST(MagnitudesText, NamesTheBracketAndBothShmaxRules) {
  results::Result r{};
  const double lines[3][2] = {{0, 60}, {90, 0}, {180, 30}};
  r.result = tensor(lines, 0.1f);
  r.result.threshold = 0.125f;
  const results::StressMagnitudes m = results::stress_magnitudes(r, 10.0);
  EXPECT_EQ(m.shmax_azimuth, results::shmax_azimuth(r.result, m.regime));
  EXPECT_NEAR(half_turn_distance(m.shmax_horizontal_azimuth, 0.0), 0.0, 1e-3);
  const std::string text = results::magnitudes_text(r, m);
  EXPECT_NE(text.find("Bracket of the found tensor: 80.0 MPa"), std::string::npos) << text;
  EXPECT_NE(text.find("not a confidence interval"), std::string::npos) << text;
  EXPECT_NE(text.find("SHmax azimuth: 090.0\u00b0 (regime table)\n"), std::string::npos) << text;
  const bool north =
      text.find("SHmax azimuth: 000.0\u00b0 (largest horizontal") != std::string::npos ||
      text.find("SHmax azimuth: 180.0\u00b0 (largest horizontal") != std::string::npos;
  EXPECT_TRUE(north) << text;
}

}  // namespace
