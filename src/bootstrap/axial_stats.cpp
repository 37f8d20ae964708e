// SPDX-License-Identifier: GPL-3.0-or-later
#include "bootstrap/axial_stats.h"

#include <algorithm>
#include <cmath>

namespace bootstrap {

namespace {

constexpr double degrees = 180.0 / 3.14159265358979323846;

}  // namespace

double axis_angle_deg(const double (&a)[3], const double (&b)[3]) {
  const double na = std::sqrt(a[0] * a[0] + a[1] * a[1] + a[2] * a[2]);
  const double nb = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2]);
  if (!(na > 0.0 && nb > 0.0)) return 90.0;
  double c = std::fabs(a[0] * b[0] + a[1] * b[1] + a[2] * b[2]) / (na * nb);
  c = std::min(c, 1.0);
  return std::acos(c) * degrees;
}

double axis_angle_deg(const float (&a)[3], const float (&b)[3]) {
  const double da[3] = {a[0], a[1], a[2]};
  const double db[3] = {b[0], b[1], b[2]};
  return axis_angle_deg(da, db);
}

double cone_deg(const double (&center)[3], std::span<const std::array<double, 3>> axes,
                double level) {
  if (axes.empty()) return 0.0;
  std::vector<double> angles;
  angles.reserve(axes.size());
  for (const auto& v : axes) {
    const double w[3] = {v[0], v[1], v[2]};
    angles.push_back(axis_angle_deg(center, w));
  }
  std::sort(angles.begin(), angles.end());
  const double n = static_cast<double>(angles.size());
  auto k = static_cast<std::size_t>(std::ceil(level * n - 1e-9));
  k = std::clamp<std::size_t>(k, 1, angles.size());
  return angles[k - 1];
}

Interval percentile_interval(std::vector<double> values, double low_share, double high_share) {
  if (values.empty()) return {};
  std::sort(values.begin(), values.end());
  auto at = [&](double share) {
    const double h = share * static_cast<double>(values.size() - 1);
    const auto lo = static_cast<std::size_t>(std::floor(h));
    const std::size_t hi = std::min(lo + 1, values.size() - 1);
    const double t = h - static_cast<double>(lo);
    // An infinite value is the percentile when the point falls on it or past it.
    if (t == 0.0 || std::isinf(values[lo])) return values[lo];
    if (std::isinf(values[hi])) return values[hi];
    return values[lo] + t * (values[hi] - values[lo]);
  };
  return {at(low_share), at(high_share)};
}

double axial_spread_deg(std::span<const double> azimuths_deg) {
  if (azimuths_deg.empty()) return 0.0;
  double c = 0.0;
  double s = 0.0;
  for (const double a : azimuths_deg) {
    c += std::cos(2.0 * a / degrees);
    s += std::sin(2.0 * a / degrees);
  }
  const double n = static_cast<double>(azimuths_deg.size());
  const double mean_length = std::sqrt(c * c + s * s) / n;
  if (!(mean_length > 0.0)) return 90.0;
  // Doubled angles: the spread of the doubled azimuths, halved.
  return std::sqrt(-2.0 * std::log(std::min(mean_length, 1.0))) * degrees / 2.0;
}

}  // namespace bootstrap
