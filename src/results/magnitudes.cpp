// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/magnitudes.h"

#include <charconv>
#include <cmath>
#include <string>

#include "recfmt/edit_output.h"

namespace results {

namespace {

constexpr double degrees = 180.0 / 3.14159265358979323846;

double half_turn(double azimuth) {
  double a = std::fmod(azimuth, 180.0);
  if (a < 0.0) a += 180.0;
  return a >= 180.0 ? 0.0 : a;
}

// The deviatoric tensor sum of s_j v_j v_j^T over the three principal axes.
void deviatoric_tensor(const TensorResult& t, const double (&s)[3], double (&m)[3][3]) {
  const Axis* axes[3] = {&t.sigma1, &t.sigma2, &t.sigma3};
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k < 3; ++k) {
      m[i][k] = 0.0;
      for (int j = 0; j < 3; ++j) {
        m[i][k] += s[j] * static_cast<double>(axes[j]->vector[i]) * axes[j]->vector[k];
      }
    }
  }
}

// Deviatoric principal values for sigma1 - sigma3 = differential.
void deviatoric_values(double r, double differential, double (&s)[3]) {
  s[0] = (2.0 - r) / 3.0 * differential;
  s[1] = (2.0 * r - 1.0) / 3.0 * differential;
  s[2] = -(1.0 + r) / 3.0 * differential;
}

// A plunge as the report's PENDAGE field shows it (F5.0: whole degrees, rounded half up), so
// that the regime follows the axes a reader sees: a plunge computed as 51.999996 degrees is
// printed 52. and is judged as 52. A value the field cannot show is kept as it is.
double reported_plunge(float plunge) {
  std::string field;
  recfmt::edit_fixed(field, plunge, 5, 0);
  const std::size_t first = field.find_first_not_of(' ');
  double shown = 0.0;
  if (first == std::string::npos || field[first] == '*') return plunge;
  const auto [end, ec] = std::from_chars(field.data() + first, field.data() + field.size(), shown);
  return ec == std::errc() ? shown : static_cast<double>(plunge);
}

struct Plunges {
  double p1, p2, p3;
};

Plunges reported_plunges(const TensorResult& t) {
  return {reported_plunge(t.sigma1.line.plunge), reported_plunge(t.sigma2.line.plunge),
          reported_plunge(t.sigma3.line.plunge)};
}

}  // namespace

std::string_view regime_name(Regime regime) {
  switch (regime) {
    case Regime::NF:
      return "NF";
    case Regime::NS:
      return "NS";
    case Regime::SS:
      return "SS";
    case Regime::TS:
      return "TS";
    case Regime::TF:
      return "TF";
    case Regime::U:
      return "U";
  }
  return "U";
}

Regime regime_of(const TensorResult& t) {
  const auto [p1, p2, p3] = reported_plunges(t);
  if (p1 >= 52.0 && p3 <= 35.0) return Regime::NF;
  if (p1 >= 40.0 && p1 < 52.0 && p3 <= 20.0) return Regime::NS;
  if ((p1 < 40.0 && p2 >= 45.0 && p3 <= 20.0) || (p1 <= 20.0 && p2 >= 45.0 && p3 < 40.0)) {
    return Regime::SS;
  }
  if (p1 <= 20.0 && p3 >= 40.0 && p3 < 52.0) return Regime::TS;
  if (p1 <= 35.0 && p3 >= 52.0) return Regime::TF;
  return Regime::U;
}

double shmax_azimuth(const TensorResult& t, Regime regime) {
  const double t1 = t.sigma1.line.trend;
  const double t2 = t.sigma2.line.trend;
  const double t3 = t.sigma3.line.trend;
  switch (regime) {
    case Regime::NF:
      return half_turn(t2);
    case Regime::NS:
      return half_turn(t3 + 90.0);
    case Regime::SS: {
      // The first kind of strike slip has sigma3 nearly horizontal, the second sigma1.
      const Plunges p = reported_plunges(t);
      return p.p3 <= 20.0 && p.p1 < 40.0 ? half_turn(t3 + 90.0) : half_turn(t1);
    }
    case Regime::TS:
    case Regime::TF:
      return half_turn(t1);
    case Regime::U:
      break;
  }
  return shmax_horizontal_azimuth(t);
}

double shmax_horizontal_azimuth(const TensorResult& t) {
  // The normal stress on the horizontal line at azimuth a, (sin a, cos a, 0), is
  // (S_EE + S_NN) / 2 + (S_NN - S_EE) / 2 cos 2a + S_NE sin 2a: largest where
  // tan 2a = 2 S_NE / (S_NN - S_EE), on the branch atan2 gives.
  double s[3];
  deviatoric_values(t.R, 1.0, s);
  double m[3][3];
  deviatoric_tensor(t, s, m);
  const double s_ee = m[0][0];
  const double s_nn = m[1][1];
  const double s_ne = m[0][1];
  return half_turn(0.5 * std::atan2(2.0 * s_ne, s_nn - s_ee) * degrees);
}

StressMagnitudes stress_magnitudes(const Result& r, double crss_mpa) {
  StressMagnitudes m;
  m.crss_mpa = crss_mpa;
  const TensorResult& t = r.result;
  for (const Plane& p : r.planes) {
    if (p.cls != PlaneClass::untwinned_ok) continue;
    if (!m.has_untwinned_below || p.tau > m.largest_untwinned_tau) m.largest_untwinned_tau = p.tau;
    m.has_untwinned_below = true;
  }
  m.regime = regime_of(t);
  m.shmax_azimuth = shmax_azimuth(t, m.regime);
  m.shmax_horizontal_azimuth = shmax_horizontal_azimuth(t);

  const double seuil = t.threshold;
  if (!(seuil > 0.0)) return m;
  m.defined = true;
  m.differential_mpa = crss_mpa / seuil;
  m.differential_low_mpa = m.differential_mpa;
  if (m.has_untwinned_below && m.largest_untwinned_tau > 0.0) {
    m.has_upper = true;
    m.differential_high_mpa = crss_mpa / m.largest_untwinned_tau;
  }
  m.sigma2_minus_sigma3_mpa = static_cast<double>(t.R) * m.differential_mpa;
  deviatoric_values(t.R, m.differential_mpa, m.deviatoric_mpa);
  deviatoric_tensor(t, m.deviatoric_mpa, m.deviatoric_tensor_mpa);
  return m;
}

}  // namespace results
