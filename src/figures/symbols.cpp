// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/symbols.h"

#include <cmath>

namespace figures {

std::vector<Point> square_mark(Point c, double s) {
  // The same area as a circle of radius s, so no symbol looks heavier than another.
  const double h = s * 0.886;
  return {{c.x - h, c.y - h}, {c.x + h, c.y - h}, {c.x + h, c.y + h}, {c.x - h, c.y + h}};
}

std::vector<Point> triangle_mark(Point c, double s) {
  // Equilateral, centroid at c; a little larger than the circle so it reads as large.
  const double r = s * 1.35;
  const double half = r * std::sqrt(3.0) / 2.0;
  return {{c.x, c.y - r}, {c.x + half, c.y + r / 2.0}, {c.x - half, c.y + r / 2.0}};
}

std::vector<Point> plus_mark(Point c, double s) {
  return {{c.x - s, c.y}, {c.x + s, c.y}, c, {c.x, c.y - s}, {c.x, c.y + s}};
}

std::vector<Point> cross_mark(Point c, double s) {
  const double d = s * 0.8;
  return {{c.x - d, c.y - d}, {c.x + d, c.y + d}, c, {c.x + d, c.y - d}, {c.x - d, c.y + d}};
}

}  // namespace figures
