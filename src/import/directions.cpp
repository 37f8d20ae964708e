// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/directions.h"

#include <algorithm>
#include <cmath>

namespace data_import {

double dot(const Vec& a, const Vec& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

Vec cross(const Vec& a, const Vec& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec unit(const Vec& v) {
  const double n = std::sqrt(dot(v, v));
  return {v[0] / n, v[1] / n, v[2] / n};
}

Vec negated(const Vec& v) {
  return {-v[0], -v[1], -v[2]};
}

Vec line_vector(double trend, double plunge) {
  const double t = radians(trend);
  const double p = radians(plunge);
  return {std::cos(p) * std::sin(t), std::cos(p) * std::cos(t), -std::sin(p)};
}

TrendPlunge trend_plunge(const Vec& v) {
  const Vec u = unit(v[2] > 0.0 ? negated(v) : v);
  double trend = degrees(std::atan2(u[0], u[1]));
  if (trend < 0.0) trend += 360.0;
  if (trend >= 360.0) trend -= 360.0;
  return {trend, degrees(std::asin(std::clamp(-u[2], -1.0, 1.0)))};
}

double angle_between(const Vec& a, const Vec& b) {
  // atan2 of the cross and dot products keeps its precision near 0 and 180 degrees.
  const Vec c = cross(a, b);
  return degrees(std::atan2(std::sqrt(dot(c, c)), dot(a, b)));
}

double angle_between_lines(const Vec& a, const Vec& b) {
  const double angle = angle_between(a, b);
  return angle > 90.0 ? 180.0 - angle : angle;
}

}  // namespace data_import
