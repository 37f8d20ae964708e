// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/net_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace figures {

Point NetPlace::at(LineOrientation line) const {
  return at(project(line));
}

PageLayout page_layout(double width, double height) {
  PageLayout layout;
  layout.font = std::clamp(std::min(width, height) / 34.0, 6.0, 11.0);
  const double f = layout.font;
  const double margin = 1.2 * f;
  const double title_height = 2.4 * f;
  layout.title = {margin, margin + 1.3 * f};
  const double top = margin + title_height;
  // Room around the primitive for the north label and the SHmax bars.
  const double rim = 2.2 * f;
  if (width >= 1.2 * height) {
    const double side = std::max(10.0, std::min(height - top - margin, width * 0.62));
    // A wide page centres the net and the text beside it, some 20 characters wide.
    const double left = std::max(margin, (width - side - 19.0 * f) / 2.0);
    layout.net.radius = std::max(5.0, side / 2.0 - rim);
    layout.net.centre = {left + side / 2.0, top + side / 2.0};
    layout.block = {left + side + f, top};
    layout.block_width = std::max(0.0, width - layout.block.x - margin);
  } else {
    const double block_height = 9.0 * f * 1.35;
    const double side = std::max(10.0, std::min(width - 2.0 * margin, height - top - block_height));
    layout.net.radius = std::max(5.0, side / 2.0 - rim);
    layout.net.centre = {width / 2.0, top + side / 2.0};
    layout.block = {margin, top + side + 0.5 * f};
    layout.block_width = (width - 2.0 * margin) / 2.0;
    layout.legend = {margin + layout.block_width + f, layout.block.y};
  }
  return layout;
}

void draw_net(Figure& figure, const NetPlace& net, double font, bool graticule) {
  if (graticule) {
    Style thin;
    thin.stroke = graticule_grey;
    thin.line_width = 0.4;
    auto polyline = [&](const std::vector<NetPoint>& points) {
      std::vector<Point> page;
      page.reserve(points.size());
      for (const NetPoint& p : points) page.push_back(net.at(p));
      figure.line(std::move(page), thin).css_class = "graticule";
    };
    for (int dip = -80; dip <= 80; dip += 10) polyline(meridian(dip));
    for (int angle = 10; angle <= 170; angle += 10) polyline(parallel(angle));
  }
  Style rim;
  rim.line_width = 1.0;
  figure.circle(net.centre, net.radius, rim).css_class = "primitive";
  // Ticks at the four cardinal points, the northern one labelled.
  const double tick = 0.6 * font;
  Style tick_style;
  tick_style.line_width = 0.9;
  const Point c = net.centre;
  const double r = net.radius;
  figure.line({{c.x, c.y - r}, {c.x, c.y - r - tick}}, tick_style).css_class = "north";
  figure.line({{c.x + r, c.y}, {c.x + r + tick / 2.0, c.y}}, tick_style);
  figure.line({{c.x, c.y + r}, {c.x, c.y + r + tick / 2.0}}, tick_style);
  figure.line({{c.x - r, c.y}, {c.x - r - tick / 2.0, c.y}}, tick_style);
  figure.text({c.x, c.y - r - tick - 0.3 * font}, "N", 1.1 * font, Anchor::middle, true);
}

double fitting_size(const std::vector<std::string>& lines, double font, double width, bool bold) {
  double widest = 0.0;
  for (const std::string& line : lines) widest = std::max(widest, text_width(line, font, bold));
  if (widest <= width || widest <= 0.0) return font;
  return std::max(4.0, font * width / widest);
}

double draw_text_block(Figure& figure, Point at, const std::vector<std::string>& lines, double font,
                       double width) {
  font = fitting_size(lines, font, width, false);
  double y = at.y + font;
  for (const std::string& line : lines) {
    if (!line.empty()) figure.text({at.x, y}, line, font);
    y += 1.35 * font;
  }
  return y - font;
}

void draw_title(Figure& figure, Point at, double font, const std::string& title) {
  if (title.empty()) return;
  const double room = figure.width - 2.0 * at.x;
  figure.text(at, title, fitting_size({title}, 1.2 * font, room, true), Anchor::start, true);
}

std::string trend_plunge(LineOrientation line) {
  const LineOrientation down = lower_hemisphere(line);
  long trend = std::lround(down.trend) % 360;
  const long plunge = std::lround(down.plunge);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%03ld/%02ld", trend, plunge);
  return buffer;
}

}  // namespace figures
