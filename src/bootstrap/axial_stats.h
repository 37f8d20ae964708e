// SPDX-License-Identifier: GPL-3.0-or-later
// Statistics of axes (lines: v and -v are the same axis) and of plain values, for the
// confidence of an inversion: angles between axes, the cone that holds a share of the
// resampled axes, percentile intervals, and the spread of an azimuth taken modulo 180.
#pragma once

#include <array>
#include <span>
#include <vector>

namespace bootstrap {

// The angle in degrees between two axes: the smaller one of +-b.
double axis_angle_deg(const double (&a)[3], const double (&b)[3]);
double axis_angle_deg(const float (&a)[3], const float (&b)[3]);

// The smallest angle around `center` that holds the share `level` (0..1) of the axes:
// the ceil(level * n)-th smallest angle. 0 for no axes.
double cone_deg(const double (&center)[3], std::span<const std::array<double, 3>> axes,
                double level = 0.95);

struct Interval {
  double low = 0.0;
  double high = 0.0;
};

// The percentiles low_share and high_share of the values, interpolated linearly between
// order statistics (as the common "type 7" definition); infinite when the point falls on
// or between infinite values. {0, 0} for no values.
Interval percentile_interval(std::vector<double> values, double low_share = 0.025,
                             double high_share = 0.975);

// The circular standard deviation in degrees of azimuths taken modulo 180 degrees.
double axial_spread_deg(std::span<const double> azimuths_deg);

}  // namespace bootstrap
