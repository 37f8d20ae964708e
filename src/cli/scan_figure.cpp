#include "cli/scan_figure.h"

#include <algorithm>
#include <string>
#include <vector>

#include "figures/plot_axes.h"

namespace cli {

namespace {

constexpr figures::Colour sigma1_colour{200, 30, 30};
constexpr figures::Colour sigma3_colour{30, 80, 200};

// One panel of the page: a frame of its own, moved down by `offset`.
void panel(figures::Figure& page, double width, double height, double offset,
           const bootstrap::Scan& scan, const std::string& y_title,
           const std::vector<std::pair<std::vector<double>, figures::Colour>>& series) {
  figures::Figure f;
  f.width = width;
  f.height = height;
  const double font = figures::plot_font(width, height);
  figures::PlotArea area = figures::plot_area(width, height, font, false, 0.0);
  area.x_min = scan.range.first - 1.0;
  area.x_max = scan.range.last + 1.0;
  double top = 1.0;
  for (const auto& s : series) {
    for (const double v : s.first) top = std::max(top, v);
  }
  area.y_min = 0.0;
  area.y_max = top * 1.1;
  figures::draw_axes(f, area, font, "twins counted (%)", y_title);
  for (const auto& [values, colour] : series) {
    std::vector<figures::Point> points;
    for (std::size_t k = 0; k < scan.rows.size(); ++k) {
      if (!scan.rows[k].valid) continue;
      points.push_back(area.at(scan.rows[k].twin_percent, values[k]));
    }
    figures::Style line;
    line.stroke = colour;
    line.line_width = 1.5;
    if (points.size() > 1) f.line(points, line);
    figures::Style dot;
    dot.filled = true;
    dot.fill = colour;
    dot.stroke = colour;
    for (const auto& p : points) f.circle(p, 2.5, dot);
  }
  for (figures::Item item : f.items) {
    for (auto& p : item.points) p.y += offset;
    item.centre.y += offset;
    page.items.push_back(std::move(item));
  }
}

}  // namespace

figures::Figure scan_figure(const bootstrap::Scan& scan, double width, double height) {
  figures::Figure page;
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
  panel(page, width, half, half, scan, "differential stress (MPa)", {{diff, figures::black}});
  const double font = figures::plot_font(width, height);
  page.text({width - 8.0, font * 1.2},
            "\xcf\x83"
            "1",
            font, figures::Anchor::end, true, sigma1_colour);
  page.text({width - 8.0, font * 2.5},
            "\xcf\x83"
            "3",
            font, figures::Anchor::end, true, sigma3_colour);
  return page;
}

}  // namespace cli
