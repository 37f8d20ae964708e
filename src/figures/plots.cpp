// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/plots.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "figures/net_layout.h"
#include "figures/plot_axes.h"

namespace figures {

namespace {

const PoleKind all_kinds[4] = {PoleKind::counted, PoleKind::twinned_below, PoleKind::untwinned_ok,
                               PoleKind::untwinned_violating};

Style threshold_style() {
  return dashed_stroke(black);
}

LegendRow threshold_row(Figure& figure, double font) {
  return {[&figure, font](Point c) { legend_stroke(figure, c, font, threshold_style()); }, "SEUIL"};
}

}  // namespace

Figure shear_stress_plot(const PlotInput& input, double width, double height) {
  Figure figure;
  figure.width = width;
  figure.height = height;
  const double f = plot_font(width, height);
  const double size = std::clamp(f * 0.3, 1.2, 3.5);
  std::vector<LegendRow> rows;
  for (PoleKind kind : all_kinds) {
    rows.push_back({[&figure, kind, size](Point c) { pole_symbol(figure, c, kind, size); },
                    pole_legend(kind)});
  }
  rows.push_back(threshold_row(figure, f));
  const bool mpa = input.stress_difference_mpa.has_value() && *input.stress_difference_mpa > 0.0;
  const PlotLayout layout =
      plot_layout(width, height, f, mpa, legend_width(rows, f), static_cast<int>(rows.size()));
  PlotArea area = layout.area;
  area.x_min = -0.5;
  area.x_max = 0.5;
  area.y_min = 0.0;
  area.y_max = 1.0;
  draw_title(figure, {1.2 * f, 2.0 * f}, f, input.title);

  // Every state a plane can be in lies inside the circle through (±0.5, 0.5), (0, 0), (0, 1).
  Style circle;
  circle.stroke = graticule_grey;
  circle.line_width = 0.8;
  std::vector<Point> outline;
  for (int k = 0; k <= 180; ++k) {
    const double a = k * 2.0 * M_PI / 180.0;
    outline.push_back(area.at(0.5 * std::cos(a), 0.5 + 0.5 * std::sin(a)));
  }
  figure.line(std::move(outline), circle, true).css_class = "envelope";
  Style axis_line;
  axis_line.stroke = graticule_grey;
  axis_line.line_width = 0.5;
  figure.line({area.at(0.0, 0.0), area.at(0.0, 1.0)}, axis_line);

  for (const PlanePoint& plane : input.planes) {
    Item& item = pole_symbol(figure, area.at(plane.tau, plane.normal), plane.kind, size);
    item.css_class = std::string("plane ") + (plane.twinned ? "twinned" : "untwinned");
    item.data = {{"number", std::to_string(plane.number)}};
  }
  Item& seuil = figure.line({area.at(input.threshold, 0.0), area.at(input.threshold, 1.0)},
                            threshold_style());
  seuil.css_class = "threshold";
  seuil.data = {{"tau", format_number(input.threshold, 4)}};

  draw_axes(figure, area, f, "resolved shear stress τ / (σ1 − σ3)",
            "normal stress / (σ1 − σ3), compression positive");
  if (mpa) {
    draw_top_axis(figure, area, f, *input.stress_difference_mpa,
                  "τ in MPa (σ1 − σ3 = " + format_number(*input.stress_difference_mpa, 0) +
                      " MPa for CRSS " + format_number(input.crss_mpa, 0) + " MPa)");
  }
  draw_legend(figure, layout, f, rows);
  return figure;
}

std::vector<Point> cumulative_steps(std::vector<double> taus) {
  std::vector<Point> steps;
  if (taus.empty()) return steps;
  std::sort(taus.begin(), taus.end(), std::greater<>());
  const double n = static_cast<double>(taus.size());
  for (std::size_t i = 0; i < taus.size(); ++i) {
    // Equal values reach their percentage together.
    if (i + 1 < taus.size() && taus[i + 1] == taus[i]) continue;
    steps.push_back({taus[i], 100.0 * static_cast<double>(i + 1) / n});
  }
  return steps;
}

Figure cumulative_chart(const PlotInput& input, double width, double height) {
  Figure figure;
  figure.width = width;
  figure.height = height;
  const double f = plot_font(width, height);
  Style twinned;
  twinned.line_width = 1.6;
  Style untwinned;
  untwinned.stroke = sigma3_colour;
  untwinned.line_width = 1.6;
  untwinned.dashed = true;
  std::vector<LegendRow> rows = {
      {[&](Point c) { legend_stroke(figure, c, f, twinned); }, "twinned planes"},
      {[&](Point c) { legend_stroke(figure, c, f, untwinned); }, "untwinned planes"},
      threshold_row(figure, f)};
  const PlotLayout layout =
      plot_layout(width, height, f, false, legend_width(rows, f), static_cast<int>(rows.size()));
  PlotArea area = layout.area;
  area.x_min = -0.5;
  area.x_max = 0.5;
  area.y_min = 0.0;
  area.y_max = 100.0;
  draw_title(figure, {1.2 * f, 2.0 * f}, f, input.title);

  // Read from the right, as the report's chart reads from its top row: at each TAU, the
  // share of the planes of a kind whose TAU is at least that.
  auto curve = [&](bool of_twinned, const Style& style, const char* name) {
    std::vector<double> taus;
    for (const PlanePoint& plane : input.planes) {
      if (plane.twinned == of_twinned) taus.push_back(plane.tau);
    }
    const std::vector<Point> steps = cumulative_steps(taus);
    if (steps.empty()) return;
    std::vector<Point> page = {area.at(area.x_max, 0.0)};
    double level = 0.0;
    for (const Point& s : steps) {
      const double x = std::clamp(s.x, area.x_min, area.x_max);
      page.push_back(area.at(x, level));
      page.push_back(area.at(x, s.y));
      level = s.y;
    }
    page.push_back(area.at(area.x_min, level));
    Item& item = figure.line(std::move(page), style);
    item.css_class = name;
  };
  curve(false, untwinned, "untwinned");
  curve(true, twinned, "twinned");
  Item& seuil = figure.line({area.at(input.threshold, 0.0), area.at(input.threshold, 100.0)},
                            threshold_style());
  seuil.css_class = "threshold";
  draw_axes(figure, area, f, "resolved shear stress τ / (σ1 − σ3)",
            "planes with τ at or above, per cent");
  draw_legend(figure, layout, f, rows);
  return figure;
}

}  // namespace figures
