// SPDX-License-Identifier: GPL-3.0-or-later
// Marks drawn at a point: the outline of each symbol as a polyline around its centre,
// `size` being the half-width of the symbol. The plus and the cross go over their
// centre twice so that each is one element.
#pragma once

#include <vector>

#include "figures/figure.h"

namespace figures {

std::vector<Point> square_mark(Point centre, double size);
// Pointing up, its centroid at the centre.
std::vector<Point> triangle_mark(Point centre, double size);
std::vector<Point> plus_mark(Point centre, double size);
std::vector<Point> cross_mark(Point centre, double size);

}  // namespace figures
