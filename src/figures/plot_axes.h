// SPDX-License-Identifier: GPL-3.0-or-later
// Rectangular plots: round tick values, the mapping from data to the page, and the
// frame with its ticks, numbers and axis titles.
#pragma once

#include <string>
#include <vector>

#include "figures/figure.h"

namespace figures {

// Tick values at a round step (1, 2 or 5 times a power of ten) covering [lo, hi] with
// at most about `count` intervals; only values inside the range.
std::vector<double> nice_ticks(double lo, double hi, int count);
// Decimals needed to print ticks of that step.
int decimals_for(const std::vector<double>& ticks);

struct PlotArea {
  double left = 0.0, top = 0.0, right = 0.0, bottom = 0.0;    // page
  double x_min = 0.0, x_max = 1.0, y_min = 0.0, y_max = 1.0;  // data
  Point at(double x, double y) const;
  double page_x(double x) const;
  double page_y(double y) const;
};

// Room for a title line, numbers and axis titles around the plotting area of a page;
// `top_axis` leaves room for a second x axis above, `legend` for a legend column at the
// right.
PlotArea plot_area(double width, double height, double font, bool top_axis, double legend);

// Frame, ticks and numbers on the left and bottom, and the axis titles.
void draw_axes(Figure& figure, const PlotArea& area, double font, const std::string& x_title,
               const std::string& y_title);

// A second x axis along the top: the same positions read in other units (value x
// shows as x * factor).
void draw_top_axis(Figure& figure, const PlotArea& area, double font, double factor,
                   const std::string& title);

// Body text size for a page.
double plot_font(double width, double height);

}  // namespace figures
