// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/projection.h"

#include <cmath>
#include <numbers>

namespace figures {

namespace {

constexpr double degree = std::numbers::pi / 180.0;

Direction direction_of(LineOrientation line) {
  const double t = line.trend * degree;
  const double p = line.plunge * degree;
  return {std::cos(p) * std::cos(t), std::cos(p) * std::sin(t), std::sin(p)};
}

}  // namespace

LineOrientation lower_hemisphere(LineOrientation line) {
  if (line.plunge < 0.0) {
    line.plunge = -line.plunge;
    line.trend += 180.0;
  }
  line.trend = std::fmod(line.trend, 360.0);
  if (line.trend < 0.0) line.trend += 360.0;
  return line;
}

double equal_area_radius(double plunge) {
  return std::numbers::sqrt2 * std::sin((90.0 - plunge) * degree / 2.0);
}

NetPoint project(LineOrientation line) {
  const LineOrientation down = lower_hemisphere(line);
  const double r = equal_area_radius(down.plunge);
  const double t = down.trend * degree;
  return {r * std::sin(t), r * std::cos(t)};
}

LineOrientation line_of_direction(double north, double east, double down) {
  if (down < 0.0) {
    north = -north;
    east = -east;
    down = -down;
  }
  const double horizontal = std::hypot(north, east);
  LineOrientation line;
  line.plunge = std::atan2(down, horizontal) / degree;
  // A vertical line has no trend of its own: it plots at the centre whatever it is.
  line.trend = horizontal > 0.0 ? std::atan2(east, north) / degree : 0.0;
  if (line.trend < 0.0) line.trend += 360.0;
  return line;
}

NetPoint project_direction(const Direction& d) {
  return project(line_of_direction(d.north, d.east, d.down));
}

std::vector<NetPoint> meridian(double dip, double step) {
  // Lines of the plane: rake r from the north end of the strike through the dip line
  // to the south end; the dip direction is east for a positive dip.
  const double c = std::cos(dip * degree);
  const double s = std::sin(std::abs(dip) * degree);
  const double side = dip < 0.0 ? -1.0 : 1.0;
  std::vector<NetPoint> points;
  for (double rake = 0.0; rake <= 180.0 + 1e-9; rake += step) {
    const double a = rake * degree;
    points.push_back(
        project_direction(Direction{std::cos(a), side * std::sin(a) * c, std::sin(a) * s}));
  }
  return points;
}

std::vector<NetPoint> parallel(double angle, double step) {
  const double c = std::cos(angle * degree);
  const double s = std::sin(angle * degree);
  std::vector<NetPoint> points;
  for (double phi = 0.0; phi <= 180.0 + 1e-9; phi += step) {
    const double a = phi * degree;
    // From the east end of the horizontal through straight down to the west end.
    points.push_back(project_direction(Direction{c, s * std::cos(a), s * std::sin(a)}));
  }
  return points;
}

std::vector<std::vector<NetPoint>> cone(LineOrientation axis, double angle, double step) {
  // Two unit vectors square to the axis and to each other span the circle of the cone.
  const Direction a = direction_of(axis);
  Direction u =
      std::abs(a.down) < 0.9 ? Direction{-a.east, a.north, 0.0} : Direction{0.0, -a.down, a.east};
  const double nu = std::sqrt(u.north * u.north + u.east * u.east + u.down * u.down);
  u = {u.north / nu, u.east / nu, u.down / nu};
  const Direction v{a.east * u.down - a.down * u.east, a.down * u.north - a.north * u.down,
                    a.north * u.east - a.east * u.north};
  const double c = std::cos(angle * degree);
  const double s = std::sin(angle * degree);
  // A part of the cone above the horizontal shows turned end for end, on the far side of
  // the net: each crossing of the primitive starts a new run.
  std::vector<std::vector<NetPoint>> runs;
  bool below_before = false;
  bool below_first = false;
  for (double phi = 0.0; phi <= 360.0 + 1e-9; phi += step) {
    const double f = phi * degree;
    const Direction d{c * a.north + s * (std::cos(f) * u.north + std::sin(f) * v.north),
                      c * a.east + s * (std::cos(f) * u.east + std::sin(f) * v.east),
                      c * a.down + s * (std::cos(f) * u.down + std::sin(f) * v.down)};
    const bool below = d.down >= 0.0;
    if (runs.empty()) {
      below_first = below;
      runs.emplace_back();
    } else if (below != below_before) {
      runs.emplace_back();
    }
    below_before = below;
    runs.back().push_back(project_direction(d));
  }
  // The last run goes on into the first when the circle ends where it began.
  if (runs.size() > 1 && below_before == below_first) {
    runs.back().insert(runs.back().end(), runs.front().begin() + 1, runs.front().end());
    runs.erase(runs.begin());
  }
  return runs;
}

}  // namespace figures
