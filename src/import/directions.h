// SPDX-License-Identifier: GPL-3.0-or-later
// Directions in double precision in the geographic frame of the data file: first axis
// east, second north, third up. A line is given by its trend (azimuth, degrees clockwise
// from north) and plunge (degrees below the horizontal).
#pragma once

#include <array>

namespace data_import {

using Vec = std::array<double, 3>;

inline constexpr double pi = 3.14159265358979323846;

inline double radians(double degrees) {
  return degrees * pi / 180.0;
}
inline double degrees(double radians) {
  return radians * 180.0 / pi;
}

double dot(const Vec& a, const Vec& b);
Vec cross(const Vec& a, const Vec& b);
Vec unit(const Vec& v);
Vec negated(const Vec& v);

// The lower end of the line of this trend and plunge.
Vec line_vector(double trend, double plunge);

// Trend (0 <= t < 360) and plunge (0..90) of the line along v, taken on its lower end.
struct TrendPlunge {
  double trend;
  double plunge;
};
TrendPlunge trend_plunge(const Vec& v);

// The angle in degrees between two directions (0..180), and between two lines (0..90).
double angle_between(const Vec& a, const Vec& b);
double angle_between_lines(const Vec& a, const Vec& b);

}  // namespace data_import
