#include "figures/confidence_figures.h"

#include <algorithm>
#include <string>
#include <vector>

#include "figures/plot_axes.h"

namespace figures {

namespace {

constexpr Colour sigma1_colour{200, 30, 30};
constexpr Colour sigma3_colour{30, 80, 200};

// One panel of the page: a frame of its own, moved down by `offset`.
void panel(Figure& page, double width, double height, double offset, const bootstrap::Scan& scan,
           const std::string& y_title,
           const std::vector<std::pair<std::vector<double>, Colour>>& series) {
  Figure f;
  f.width = width;
  f.height = height;
  const double font = plot_font(width, height);
  PlotArea area = plot_area(width, height, font, false, 0.0);
  area.x_min = scan.range.first - 1.0;
  area.x_max = scan.range.last + 1.0;
  double top = 1.0;
  for (const auto& s : series) {
    for (const double v : s.first) top = std::max(top, v);
  }
  area.y_min = 0.0;
  area.y_max = top * 1.1;
  draw_axes(f, area, font, "twins counted (%)", y_title);
  for (const auto& [values, colour] : series) {
    std::vector<Point> points;
    for (std::size_t k = 0; k < scan.rows.size(); ++k) {
      if (!scan.rows[k].valid) continue;
      points.push_back(area.at(scan.rows[k].twin_percent, values[k]));
    }
    Style line;
    line.stroke = colour;
    line.line_width = 1.5;
    if (points.size() > 1) f.line(points, line);
    Style dot;
    dot.filled = true;
    dot.fill = colour;
    dot.stroke = colour;
    for (const auto& p : points) f.circle(p, 2.5, dot);
  }
  for (Item item : f.items) {
    for (auto& p : item.points) p.y += offset;
    item.centre.y += offset;
    page.items.push_back(std::move(item));
  }
}

}  // namespace

StereonetExtras confidence_marks(const bootstrap::Summary& summary, const results::Result& r) {
  StereonetExtras extras;
  for (const bootstrap::Sample& sample : summary.samples) {
    if (!sample.valid) continue;
    for (int32_t j = 0; j < 3; ++j) {
      const results::Line l = results::line_of(sample.axes[j]);
      extras.dots.push_back({{l.trend, l.plunge}, j + 1});
    }
  }
  const results::Axis* axes[3] = {&r.result.sigma1, &r.result.sigma2, &r.result.sigma3};
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
  std::vector<double> s1, s3, diff;
  for (const auto& r : scan.rows) {
    s1.push_back(r.sigma1_to_run_deg);
    s3.push_back(r.sigma3_to_run_deg);
    diff.push_back(r.differential_mpa);
  }
  const double half = height / 2.0;
  panel(page, width, half, 0.0, scan, "angle to the run's axis (deg)",
        {{s1, sigma1_colour}, {s3, sigma3_colour}});
  panel(page, width, half, half, scan, "differential stress (MPa)", {{diff, black}});
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
