// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/plot_axes.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace figures {

namespace {

// Tick numbers with a true minus sign, as typeset figures show them.
std::string tick_text(double v, int decimals) {
  std::string text = format_number(v, decimals);
  if (!text.empty() && text[0] == '-') text.replace(0, 1, "\u2212");
  return text;
}

// Ticks of at most `intervals` intervals, halved until neighbouring numbers keep a gap
// along an axis `length` long; `extent` is how much of that length one number takes.
std::vector<double> fitting_ticks(double lo, double hi, int intervals, double length,
                                  const std::function<double(const std::string&)>& extent,
                                  double gap) {
  std::vector<double> ticks = nice_ticks(lo, hi, intervals);
  while (intervals > 1 && ticks.size() >= 2) {
    const int decimals = decimals_for(ticks);
    double widest = 0.0;
    for (double v : ticks) widest = std::max(widest, extent(tick_text(v, decimals)));
    const double spacing = (ticks[1] - ticks[0]) / (hi - lo) * length;
    if (spacing >= widest + gap) break;
    intervals /= 2;
    ticks = nice_ticks(lo, hi, intervals);
  }
  return ticks;
}

// An axis title no longer than its side of the frame.
double title_size(const std::string& title, double font, double length) {
  const double w = text_width(title, font);
  return w > length && w > 0.0 ? font * length / w : font;
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

PlotLayout plot_layout(double width, double height, double font, bool top_axis, double row_width,
                       int rows) {
  PlotLayout layout;
  if (width >= narrow_plot_width) {
    layout.area = plot_area(width, height, font, top_axis, row_width);
    layout.legend = {layout.area.right + 1.2 * font, layout.area.top};
    layout.column_width = row_width;
    return layout;
  }
  const double margin = 1.2 * font;
  layout.legend_below = true;
  layout.column_width = row_width;
  layout.columns = std::clamp(static_cast<int>((width - 2.0 * margin) / std::max(row_width, 1.0)),
                              1, std::max(rows, 1));
  const int lines = (rows + layout.columns - 1) / layout.columns;
  const double legend_height = lines * 1.3 * font;
  layout.area = plot_area(width, height - legend_height - 0.4 * font, font, top_axis, 0.0);
  layout.area.x_intervals = 5;
  layout.area.y_intervals = 4;
  layout.legend = {margin, layout.area.bottom + 3.4 * font};
  return layout;
}

void draw_legend(Figure& figure, const PlotLayout& layout, double font,
                 const std::vector<LegendRow>& rows) {
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const auto columns = static_cast<std::size_t>(layout.columns);
    const double x = layout.legend.x + static_cast<double>(k % columns) * layout.column_width;
    const double y = layout.legend.y + font + static_cast<double>(k / columns) * 1.3 * font;
    rows[k].symbol({x + 0.7 * font, y - 0.35 * font});
    figure.text({x + 1.8 * font, y}, rows[k].text, 0.9 * font);
  }
}

double legend_width(const std::vector<LegendRow>& rows, double font) {
  double widest = 0.0;
  for (const LegendRow& row : rows) widest = std::max(widest, text_width(row.text, 0.9 * font));
  return widest + 2.6 * font;
}

void legend_stroke(Figure& figure, Point c, double font, const Style& style) {
  figure.line({{c.x - 0.6 * font, c.y}, {c.x + 0.6 * font, c.y}}, style);
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
  const auto width_of = [number_size](const std::string& t) { return text_width(t, number_size); };
  const auto height_of = [number_size](const std::string&) { return number_size; };
  const std::vector<double> xs = fitting_ticks(area.x_min, area.x_max, area.x_intervals,
                                               area.right - area.left, width_of, 0.6 * font);
  const int xd = decimals_for(xs);
  for (double x : xs) {
    const double px = area.page_x(x);
    figure.line({{px, area.bottom}, {px, area.bottom - tick}}, frame);
    figure.text({px, area.bottom + 1.2 * font}, tick_text(x, xd), number_size, Anchor::middle);
  }
  const std::vector<double> ys = fitting_ticks(area.y_min, area.y_max, area.y_intervals,
                                               area.bottom - area.top, height_of, 0.3 * font);
  const int yd = decimals_for(ys);
  for (double y : ys) {
    const double py = area.page_y(y);
    figure.line({{area.left, py}, {area.left + tick, py}}, frame);
    figure.text({area.left - 0.5 * font, py + 0.33 * font}, tick_text(y, yd), number_size,
                Anchor::end);
  }
  if (!x_title.empty()) {
    figure.text({(area.left + area.right) / 2.0, area.bottom + 2.7 * font}, x_title,
                title_size(x_title, font, area.right - area.left), Anchor::middle);
  }
  Item& y_label = figure.text({area.left - 3.6 * font, (area.top + area.bottom) / 2.0}, y_title,
                              title_size(y_title, font, area.bottom - area.top), Anchor::middle);
  y_label.vertical = true;
}

void draw_top_axis(Figure& figure, const PlotArea& area, double font, double factor,
                   const std::string& title) {
  Style frame;
  frame.line_width = 0.8;
  const double lo = std::min(area.x_min * factor, area.x_max * factor);
  const double hi = std::max(area.x_min * factor, area.x_max * factor);
  const double number_size = 0.9 * font;
  const std::vector<double> values = fitting_ticks(
      lo, hi, area.x_intervals, area.right - area.left,
      [number_size](const std::string& t) { return text_width(t, number_size); }, 0.6 * font);
  const int d = decimals_for(values);
  const double tick = 0.4 * font;
  for (double v : values) {
    const double px = area.page_x(v / factor);
    figure.line({{px, area.top}, {px, area.top + tick}}, frame);
    figure.text({px, area.top - 0.7 * font}, tick_text(v, d), number_size, Anchor::middle);
  }
  figure.text({(area.left + area.right) / 2.0, area.top - 1.9 * font}, title,
              title_size(title, font, area.right - area.left), Anchor::middle);
}

}  // namespace figures
