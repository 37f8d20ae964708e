// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/plot_axes.h"

#include <algorithm>
#include <cmath>

namespace figures {

namespace {

// Tick numbers with a true minus sign, as typeset figures show them.
std::string tick_text(double v, int decimals) {
  std::string text = format_number(v, decimals);
  if (!text.empty() && text[0] == '-') text.replace(0, 1, "\u2212");
  return text;
}

}  // namespace

std::vector<double> nice_ticks(double lo, double hi, int count) {
  std::vector<double> ticks;
  if (!(hi > lo) || count < 1) return ticks;
  const double raw = (hi - lo) / count;
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  double step = power;
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    step = m * power;
    if (step >= raw) break;
  }
  const double first = std::ceil(lo / step - 1e-9);
  for (double k = first; k * step <= hi + step * 1e-9; k += 1.0) {
    const double v = k * step;
    ticks.push_back(std::abs(v) < step * 1e-9 ? 0.0 : v);
  }
  return ticks;
}

int decimals_for(const std::vector<double>& ticks) {
  if (ticks.size() < 2) return 1;
  const double step = ticks[1] - ticks[0];
  return std::max(0, static_cast<int>(std::ceil(-std::log10(step) - 1e-9)));
}

double PlotArea::page_x(double x) const {
  return left + (x - x_min) / (x_max - x_min) * (right - left);
}
double PlotArea::page_y(double y) const {
  return bottom - (y - y_min) / (y_max - y_min) * (bottom - top);
}
Point PlotArea::at(double x, double y) const {
  return {page_x(x), page_y(y)};
}

double plot_font(double width, double height) {
  return std::clamp(std::min(width, height) / 34.0, 6.0, 11.0);
}

PlotArea plot_area(double width, double height, double font, bool top_axis, double legend) {
  PlotArea area;
  area.left = 5.0 * font;
  area.right = std::max(area.left + 10.0, width - 1.5 * font - legend);
  area.top = (top_axis ? 6.2 : 3.2) * font;
  area.bottom = std::max(area.top + 10.0, height - 3.6 * font);
  return area;
}

void draw_axes(Figure& figure, const PlotArea& area, double font, const std::string& x_title,
               const std::string& y_title) {
  Style frame;
  frame.line_width = 0.8;
  figure
      .line({{area.left, area.top},
             {area.right, area.top},
             {area.right, area.bottom},
             {area.left, area.bottom}},
            frame, true)
      .css_class = "frame";
  const double tick = 0.4 * font;
  const double number_size = 0.9 * font;
  const std::vector<double> xs = nice_ticks(area.x_min, area.x_max, 10);
  const int xd = decimals_for(xs);
  for (double x : xs) {
    const double px = area.page_x(x);
    figure.line({{px, area.bottom}, {px, area.bottom - tick}}, frame);
    figure.text({px, area.bottom + 1.2 * font}, tick_text(x, xd), number_size, Anchor::middle);
  }
  const std::vector<double> ys = nice_ticks(area.y_min, area.y_max, 8);
  const int yd = decimals_for(ys);
  for (double y : ys) {
    const double py = area.page_y(y);
    figure.line({{area.left, py}, {area.left + tick, py}}, frame);
    figure.text({area.left - 0.5 * font, py + 0.33 * font}, tick_text(y, yd), number_size,
                Anchor::end);
  }
  figure.text({(area.left + area.right) / 2.0, area.bottom + 2.7 * font}, x_title, font,
              Anchor::middle);
  Item& y_label = figure.text({area.left - 3.6 * font, (area.top + area.bottom) / 2.0}, y_title,
                              font, Anchor::middle);
  y_label.vertical = true;
}

void draw_top_axis(Figure& figure, const PlotArea& area, double font, double factor,
                   const std::string& title) {
  Style frame;
  frame.line_width = 0.8;
  const double lo = std::min(area.x_min * factor, area.x_max * factor);
  const double hi = std::max(area.x_min * factor, area.x_max * factor);
  const std::vector<double> values = nice_ticks(lo, hi, 10);
  const int d = decimals_for(values);
  const double tick = 0.4 * font;
  for (double v : values) {
    const double px = area.page_x(v / factor);
    figure.line({{px, area.top}, {px, area.top + tick}}, frame);
    figure.text({px, area.top - 0.5 * font}, tick_text(v, d), 0.9 * font, Anchor::middle);
  }
  figure.text({(area.left + area.right) / 2.0, area.top - 1.9 * font}, title, font, Anchor::middle);
}

}  // namespace figures
