// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/confidence_figures.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "figures/net_layout.h"
#include "figures/plot_axes.h"

namespace figures {

namespace {

constexpr Colour suggestion_colour{90, 90, 90};

// A value of a series is drawn only where it is defined; a line joins neighbouring values.
using Series = std::vector<std::optional<double>>;
struct Drawn {
  Series values;
  Colour colour;
  const char* name;  // the SVG's data-series of each point
};

Style series_line(Colour colour) {
  Style line;
  line.stroke = colour;
  line.line_width = 1.5;
  return line;
}

Style series_dot(Colour colour) {
  Style dot;
  dot.filled = true;
  dot.fill = colour;
  dot.stroke = colour;
  return dot;
}

Style suggestion_style() {
  return dashed_stroke(suggestion_colour);
}

// One panel of the page in its own frame; the top one names the suggested share.
void panel(Figure& f, PlotArea area, double font, const bootstrap::Scan& scan, bool top,
           const std::string& y_title, const std::vector<Drawn>& series) {
  area.x_min = scan.range.first - 1.0;
  area.x_max = scan.range.last + 1.0;
  double highest = 1.0;
  for (const auto& s : series) {
    for (const auto& v : s.values) {
      if (v && std::isfinite(*v)) highest = std::max(highest, *v);
    }
  }
  area.y_min = 0.0;
  area.y_max = highest * 1.1;
  // The panels share their x axis: its title only under the lower one.
  draw_axes(f, area, font, top ? "" : "twins counted (%)", y_title);
  for (const Drawn& drawn : series) {
    const auto& values = drawn.values;
    const Colour colour = drawn.colour;
    const char* const name = drawn.name;
    // A row that was not inverted or whose value is undefined breaks the line.
    std::vector<Point> run;
    auto end_run = [&] {
      if (run.size() > 1) f.line(run, series_line(colour));
      run.clear();
    };
    for (std::size_t k = 0; k < scan.rows.size(); ++k) {
      const std::optional<double>& v = values[k];
      if (!scan.rows[k].valid || !v || !std::isfinite(*v)) {
        end_run();
        continue;
      }
      const Point p = area.at(scan.rows[k].twin_percent, *v);
      run.push_back(p);
      Item& mark = f.circle(p, 2.5, series_dot(colour));
      mark.css_class = "scan_value";
      mark.data = {{"series", name},
                   {"twin-percent", std::to_string(scan.rows[k].twin_percent)},
                   {"value", format_number(*v, 3)}};
    }
    end_run();
  }
  // The suggested share: a dashed upright line across the frame, named in the top panel.
  if (scan.suggestion) {
    const double x = area.page_x(scan.suggestion->twin_percent);
    Item& mark = f.line({{x, area.top}, {x, area.bottom}}, suggestion_style());
    mark.css_class = "scan_suggested";
    mark.data = {{"twin-percent", std::to_string(scan.suggestion->twin_percent)}};
    if (top) {
      f.text({x - 0.3 * font, area.top + 1.2 * font},
             std::to_string(scan.suggestion->twin_percent) + " %", 0.9 * font, Anchor::end, false,
             suggestion_colour);
    }
  }
}

}  // namespace

StereonetExtras confidence_marks(const bootstrap::Summary& summary, const results::Result& r) {
  return confidence_marks(summary, r.result);
}

StereonetExtras confidence_marks(const bootstrap::Summary& summary,
                                 const results::TensorResult& centre) {
  StereonetExtras extras;
  extras.dots_legend = "resampled axes";
  extras.cones_legend = "95% cone";
  for (const bootstrap::Sample& sample : summary.samples) {
    if (!sample.valid) continue;
    for (int32_t j = 0; j < 3; ++j) {
      const results::Line l = results::line_of(sample.axes[j]);
      extras.dots.push_back({{l.trend, l.plunge}, j + 1});
    }
  }
  const results::Axis* axes[3] = {&centre.sigma1, &centre.sigma2, &centre.sigma3};
  for (int32_t j = 0; j < 3; ++j) {
    extras.cones.push_back({{axes[j]->line.trend, axes[j]->line.plunge},
                            summary.cone95_deg[static_cast<std::size_t>(j)],
                            j + 1});
  }
  return extras;
}

Figure scan_figure(const bootstrap::Scan& scan, double width, double height,
                   const std::string& title, std::optional<double> crss_mpa) {
  Figure page;
  page.width = width;
  page.height = height;
  Series s1, s3, diff;
  for (const auto& r : scan.rows) {
    s1.push_back(r.sigma1_to_run_deg);
    s3.push_back(r.sigma3_to_run_deg);
    diff.push_back(r.differential_mpa);
  }
  const double font = plot_font(width, height);
  const auto sample = [&page, font](Colour colour) {
    return [&page, font, colour](Point c) {
      legend_stroke(page, c, font, series_line(colour));
      page.circle(c, 2.0, series_dot(colour));
    };
  };
  std::vector<LegendRow> rows = {
      {sample(sigma1_colour), "σ1 to the run's σ1"},
      {sample(sigma3_colour), "σ3 to the run's σ3"},
      {sample(black),
       crss_mpa ? "Δσ for CRSS " + format_number(*crss_mpa, 1) + " MPa" : std::string("Δσ")}};
  if (scan.suggestion) {
    rows.push_back({[&page, font](Point c) { legend_stroke(page, c, font, suggestion_style()); },
                    "suggested share"});
  }
  const PlotLayout layout = plot_layout(width, height, font, false, legend_width(rows, font),
                                        static_cast<int>(rows.size()));
  // The two panels one above the other in the plot's place, the numbers of the upper
  // one's x axis between them.
  const PlotArea whole = layout.area;
  const double gap = 2.4 * font;
  const double each = std::max(5.0, (whole.bottom - whole.top - gap) / 2.0);
  PlotArea upper = whole;
  upper.bottom = whole.top + each;
  PlotArea lower = whole;
  lower.top = upper.bottom + gap;
  lower.bottom = std::max(lower.top + 5.0, whole.bottom);
  draw_title(page, {1.2 * font, 2.0 * font}, font, title);
  panel(page, upper, font, scan, true, "angle to the run's axis (deg)",
        {{s1, sigma1_colour, "sigma1"}, {s3, sigma3_colour, "sigma3"}});
  panel(page, lower, font, scan, false, "Δσ (MPa)", {{diff, black, "differential"}});
  draw_legend(page, layout, font, rows);
  return page;
}

}  // namespace figures
