// SPDX-License-Identifier: GPL-3.0-or-later
// Lower-hemisphere equal-area (Schmidt) projection of lines, and the lines of the 10°
// net drawn behind the data. Net coordinates: the centre at (0, 0), x toward east,
// y toward north, the primitive circle of radius 1; the drawing scales and turns y down.
#pragma once

#include <vector>

namespace figures {

struct NetPoint {
  double x = 0.0;
  double y = 0.0;
};

// A line as trend (degrees clockwise from north) and plunge (degrees down).
struct LineOrientation {
  double trend = 0.0;
  double plunge = 0.0;
};

// The same line pointing down: an upward line (negative plunge) is turned end for end,
// its trend moved by 180°. The trend is brought into [0, 360).
LineOrientation lower_hemisphere(LineOrientation line);

// Distance from the centre, for a net of radius 1, of a line of plunge p (degrees, 0..90):
// √2·sin((90° − p)/2). 1 on the primitive, 0 at the centre.
double equal_area_radius(double plunge);

// Where a line plots on the net of radius 1 (upward lines are flipped first).
NetPoint project(LineOrientation line);

// Trend and plunge of a direction given by its north, east and down components (need
// not be unit length, must not be zero); an upward direction gives its downward twin.
LineOrientation line_of_direction(double north, double east, double down);

// A polyline on the net along a set of directions; directions are (north, east, down).
struct Direction {
  double north = 0.0;
  double east = 0.0;
  double down = 0.0;
};
NetPoint project_direction(const Direction& d);

// The lower half of the great circle of the plane striking north–south and dipping `dip`
// degrees toward the east (negative: toward the west), sampled every `step` degrees.
std::vector<NetPoint> meridian(double dip, double step = 2.0);

// The lower half of the small circle of lines at `angle` degrees from the north–south
// horizontal axis (cone half-angle, 0..180), sampled every `step` degrees.
std::vector<NetPoint> parallel(double angle, double step = 2.0);

// The small circle of lines at `angle` degrees around `axis`, sampled every `step`
// degrees, as separate runs: where the cone rises above the horizontal it shows on the
// far side of the net. For confidence cones drawn around an axis.
std::vector<std::vector<NetPoint>> cone(LineOrientation axis, double angle, double step = 3.0);

}  // namespace figures
