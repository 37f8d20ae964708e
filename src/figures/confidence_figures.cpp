// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/confidence_figures.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "figures/plot_axes.h"

namespace figures {

namespace {

constexpr Colour sigma1_colour{200, 30, 30};
constexpr Colour sigma3_colour{30, 80, 200};
constexpr Colour suggestion_colour{90, 90, 90};

// One panel of the page: a frame of its own, moved down by `offset`.
// A value of a series is drawn only where it is defined; a line joins neighbouring values.
using Series = std::vector<std::optional<double>>;
struct Drawn {
  Series values;
  Colour colour;
  const char* name;  // the SVG's data-series of each point
};

void panel(Figure& page, double width, double height, double offset, const bootstrap::Scan& scan,
           const std::string& y_title, const std::vector<Drawn>& series) {
  Figure f;
  f.width = width;
  f.height = height;
  const double font = plot_font(width, height);
  PlotArea area = plot_area(width, height, font, false, 0.0);
  area.x_min = scan.range.first - 1.0;
  area.x_max = scan.range.last + 1.0;
  double top = 1.0;
  for (const auto& s : series) {
    for (const auto& v : s.values) {
      if (v && std::isfinite(*v)) top = std::max(top, *v);
    }
  }
  area.y_min = 0.0;
  area.y_max = top * 1.1;
  draw_axes(f, area, font, "twins counted (%)", y_title);
  for (const auto& [values, colour, name] : series) {
    Style line;
    line.stroke = colour;
    line.line_width = 1.5;
    Style dot;
    dot.filled = true;
    dot.fill = colour;
    dot.stroke = colour;
    // A row that was not inverted or whose value is undefined breaks the line.
    std::vector<Point> run;
    auto end_run = [&] {
      if (run.size() > 1) f.line(run, line);
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
      Item& mark = f.circle(p, 2.5, dot);
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
    Style guide;
    guide.stroke = suggestion_colour;
    guide.line_width = 1.0;
    guide.dashed = true;
    Item& mark = f.line({{x, area.top}, {x, area.bottom}}, guide);
    mark.css_class = "scan_suggested";
    mark.data = {{"twin-percent", std::to_string(scan.suggestion->twin_percent)}};
    if (offset == 0.0) {
      f.text({x, area.top + 1.2 * font},
             "suggested " + std::to_string(scan.suggestion->twin_percent) + " %", font, Anchor::end,
             false, suggestion_colour);
    }
  }
  for (Item item : f.items) {
    for (auto& p : item.points) p.y += offset;
    item.centre.y += offset;
    page.items.push_back(std::move(item));
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

Figure scan_figure(const bootstrap::Scan& scan, double width, double height) {
  Figure page;
  page.width = width;
  page.height = height;
  Series s1, s3, diff;
  for (const auto& r : scan.rows) {
    s1.push_back(r.sigma1_to_run_deg);
    s3.push_back(r.sigma3_to_run_deg);
    diff.push_back(r.differential_mpa);
  }
  const double half = height / 2.0;
  panel(page, width, half, 0.0, scan, "angle to the run's axis (deg)",
        {{s1, sigma1_colour, "sigma1"}, {s3, sigma3_colour, "sigma3"}});
  panel(page, width, half, half, scan, "differential stress (MPa)",
        {{diff, black, "differential"}});
  // The key, in the top panel's margin above its frame's right end: "σ1  σ3".
  const double font = plot_font(width, half);
  const double right = plot_area(width, half, font, false, 0.0).right;
  const double baseline = 2.0 * font;
  const std::string sigma3 =
      "\xcf\x83"
      "3";
  page.text({right, baseline}, sigma3, font, Anchor::end, true, sigma3_colour);
  page.text({right - text_width(sigma3, font, true) - font, baseline},
            "\xcf\x83"
            "1",
            font, Anchor::end, true, sigma1_colour);
  return page;
}

}  // namespace figures
