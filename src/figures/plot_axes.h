// SPDX-License-Identifier: GPL-3.0-or-later
// Rectangular plots: round tick values, the mapping from data to the page, and the
// frame with its ticks, numbers and axis titles.
#pragma once

#include <functional>
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
  // At most about this many tick intervals along each axis; fewer where the numbers
  // would touch.
  int x_intervals = 10;
  int y_intervals = 8;
  Point at(double x, double y) const;
  double page_x(double x) const;
  double page_y(double y) const;
};

// Room for a title line, numbers and axis titles around the plotting area of a page;
// `top_axis` leaves room for a second x axis above, `legend` for a legend column at the
// right.
PlotArea plot_area(double width, double height, double font, bool top_axis, double legend);

// Pages narrower than this (points) give their plot half the ticks and the legend a place
// below the frame, where it does not take the plot's width.
inline constexpr double narrow_plot_width = 400.0;

// Where a plot and its legend go on a page: the legend of `rows` rows, each at most
// `row_width` wide, is a column beside the frame on a wide page; on a narrow one it runs
// below the axis title in as many columns as fit.
struct PlotLayout {
  PlotArea area;
  bool legend_below = false;
  Point legend;  // top left
  int columns = 1;
  double column_width = 0.0;
};
PlotLayout plot_layout(double width, double height, double font, bool top_axis, double row_width,
                       int rows);

// Frame, ticks and numbers on the left and bottom, and the axis titles (made smaller when
// longer than their side of the frame).
void draw_axes(Figure& figure, const PlotArea& area, double font, const std::string& x_title,
               const std::string& y_title);

// A second x axis along the top: the same positions read in other units (value x
// shows as x * factor).
void draw_top_axis(Figure& figure, const PlotArea& area, double font, double factor,
                   const std::string& title);

// A row of a plot's legend: a sample of the mark and what it stands for.
struct LegendRow {
  std::function<void(Point)> symbol;  // draws at the centre of the symbol slot
  std::string text;
};
// The widest row with its symbol slot.
double legend_width(const std::vector<LegendRow>& rows, double font);
// The rows where the layout puts the legend, filling its columns line by line.
void draw_legend(Figure& figure, const PlotLayout& layout, double font,
                 const std::vector<LegendRow>& rows);
// A legend row's sample of a line: a short stroke centred on c.
void legend_stroke(Figure& figure, Point c, double font, const Style& style);

// Body text size for a page.
double plot_font(double width, double height);

}  // namespace figures
