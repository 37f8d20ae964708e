// Stress regimes of hand-made tensors. The three axes are one line A in a vertical plane
// (trend a, plunge q), the line B opposite it in that plane (trend a + 180, plunge
// 90 - q) and the horizontal C at a + 90; each case hands them to sigma1..3 in some order.
#include <gtest/gtest.h>

#include <cmath>

#include "results/magnitudes.h"

namespace {

using results::Regime;

void set_axis(results::Axis& axis, double trend, double plunge) {
  const double r = 3.14159265358979323846 / 180.0;
  const float v[3] = {static_cast<float>(std::cos(plunge * r) * std::sin(trend * r)),
                      static_cast<float>(std::cos(plunge * r) * std::cos(trend * r)),
                      static_cast<float>(-std::sin(plunge * r))};
  for (int k = 0; k < 3; ++k) axis.vector[k] = v[k];
  axis.line = results::line_of(v);
}

struct RegimeCase {
  const char* name;
  double a, q;
  const char* order;  // which of A, B, C are sigma1, sigma2, sigma3
  float R;
  Regime regime;
  double shmax;
};

class RegimeTable : public testing::TestWithParam<RegimeCase> {};

TEST_P(RegimeTable, ClassAndShmax) {
  const RegimeCase& c = GetParam();
  results::TensorResult t{};
  results::Axis* axes[3] = {&t.sigma1, &t.sigma2, &t.sigma3};
  for (int j = 0; j < 3; ++j) {
    switch (c.order[j]) {
      case 'A':
        set_axis(*axes[j], c.a, c.q);
        break;
      case 'B':
        set_axis(*axes[j], c.a + 180.0, 90.0 - c.q);
        break;
      default:
        set_axis(*axes[j], c.a + 90.0, 0.0);
    }
  }
  t.R = c.R;
  const Regime regime = results::regime_of(t);
  EXPECT_EQ(results::regime_name(regime), results::regime_name(c.regime));
  EXPECT_NEAR(results::shmax_azimuth(t, regime), c.shmax, 1e-3);
}

INSTANTIATE_TEST_SUITE_P(
    Plunges, RegimeTable,
    testing::Values(RegimeCase{"normal", 0, 70, "ACB", 0.5f, Regime::NF, 90},
                    RegimeCase{"normal_strike_slip", 30, 45, "ABC", 0.5f, Regime::NS, 30},
                    RegimeCase{"strike_slip_sigma3_flat", 10, 30, "ABC", 0.5f, Regime::SS, 10},
                    RegimeCase{"strike_slip_sigma1_flat", 10, 30, "CBA", 0.5f, Regime::SS, 100},
                    RegimeCase{"thrust_strike_slip", 10, 45, "CBA", 0.5f, Regime::TS, 100},
                    RegimeCase{"thrust", 10, 70, "CBA", 0.5f, Regime::TF, 100},
                    // sigma1 and sigma3 both at 45: the horizontal part of the deviatoric
                    // tensor decides, along their vertical plane for a small R, across it
                    // for a large one.
                    RegimeCase{"unknown_small_r", 30, 45, "ACB", 0.1f, Regime::U, 30},
                    RegimeCase{"unknown_large_r", 30, 45, "ACB", 0.9f, Regime::U, 120}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StressMagnitudes, NotDefinedWithoutPositiveThreshold) {
  results::Result r{};
  r.result.threshold = 0.0f;
  const results::StressMagnitudes m = results::stress_magnitudes(r);
  EXPECT_FALSE(m.defined);
}

TEST(StressMagnitudes, BracketFromTheLargestUntwinnedTauBelowTheThreshold) {
  results::Result r{};
  r.result.threshold = 0.125f;
  r.result.R = 0.5f;
  auto plane = [](float tau, results::PlaneClass cls) {
    results::Plane p{};
    p.tau = tau;
    p.cls = cls;
    return p;
  };
  r.planes = {plane(0.2f, results::PlaneClass::untwinned_violating),
              plane(0.1f, results::PlaneClass::untwinned_ok),
              plane(0.0625f, results::PlaneClass::untwinned_ok),
              plane(0.11f, results::PlaneClass::twinned_below)};
  const results::StressMagnitudes m = results::stress_magnitudes(r, 20.0);
  ASSERT_TRUE(m.defined);
  EXPECT_DOUBLE_EQ(m.differential_mpa, 160.0);
  ASSERT_TRUE(m.has_upper);
  EXPECT_NEAR(m.differential_high_mpa, 200.0, 1e-4);
  EXPECT_DOUBLE_EQ(m.sigma2_minus_sigma3_mpa, 80.0);

  // No untwinned plane with a positive TAU below the threshold: no upper end.
  r.planes.resize(1);
  EXPECT_FALSE(results::stress_magnitudes(r).has_upper);
}

}  // namespace
