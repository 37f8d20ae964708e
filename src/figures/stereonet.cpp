// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/stereonet.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "figures/net_layout.h"
#include "figures/symbols.h"

namespace figures {

const char* pole_class(PoleKind kind) {
  switch (kind) {
    case PoleKind::counted:
      return "counted";
    case PoleKind::twinned_below:
      return "twinned_below";
    case PoleKind::untwinned_ok:
      return "untwinned_ok";
    case PoleKind::untwinned_violating:
      return "untwinned_violating";
  }
  return "";
}

namespace {

const Colour sigma_colours[3] = {sigma1_colour, sigma2_colour, sigma3_colour};

Colour overlay_colour(int32_t sigma) {
  return sigma >= 1 && sigma <= 3 ? sigma_colours[sigma - 1] : mid_grey;
}

}  // namespace

const char* pole_legend(PoleKind kind) {
  switch (kind) {
    case PoleKind::counted:
      return "twinned, τ above SEUIL";
    case PoleKind::twinned_below:
      return "twinned, τ below SEUIL";
    case PoleKind::untwinned_ok:
      return "untwinned, τ below SEUIL";
    case PoleKind::untwinned_violating:
      return "untwinned, τ above SEUIL";
  }
  return "";
}

Item& pole_symbol(Figure& figure, Point at, PoleKind kind, double size) {
  Style style;
  switch (kind) {
    case PoleKind::counted:
      style.filled = true;
      style.line_width = 0.4;
      return figure.circle(at, size, style);
    case PoleKind::twinned_below:
      style.line_width = 0.8;
      return figure.circle(at, size, style);
    case PoleKind::untwinned_ok:
      style.stroke = mid_grey;
      style.line_width = 0.8;
      return figure.line(plus_mark(at, size * 1.1), style);
    case PoleKind::untwinned_violating:
      style.stroke = violating_colour;
      style.line_width = 1.3;
      return figure.line(cross_mark(at, size * 1.25), style);
  }
  return figure.circle(at, size, style);
}

namespace {

Item& draw_sigma(Figure& figure, Point at, int32_t j, double size) {
  Style style;
  style.filled = true;
  style.fill = sigma_colours[j];
  style.line_width = 0.9;
  switch (j) {
    case 0:
      return figure.line(square_mark(at, size), style, true);
    case 1:
      return figure.line(triangle_mark(at, size), style, true);
    default:
      return figure.circle(at, size, style);
  }
}

std::string sigma_name(int32_t j) {
  return j == 0 ? "σ1" : j == 1 ? "σ2" : "σ3";
}

void draw_sigma_label(Figure& figure, const NetPlace& net, Point at, int32_t j, double font) {
  // Beside the symbol, on the side away from the rim so that it stays inside the net.
  const double dx = at.x - net.centre.x;
  const bool left = dx > 0.55 * net.radius;
  const double gap = 0.95 * font;
  Item& label = figure.text({left ? at.x - gap : at.x + gap, at.y - 0.45 * font}, sigma_name(j),
                            1.1 * font, left ? Anchor::end : Anchor::start, true);
  label.css_class = "label";
}

// "σ1 95% cone 7.5°"
std::string cone_row(const OverlayCone& c, const std::string& legend) {
  const char* sigma_text[3] = {"σ1", "σ2", "σ3"};
  const char* name = c.sigma >= 1 && c.sigma <= 3 ? sigma_text[c.sigma - 1] : "";
  return std::string(name) + " " + legend + " " + format_number(c.half_angle, 1) + "\u00b0";
}

// The rows of the legend, in order: the axes, the kinds of pole, the cones, the dots, SHmax.
std::vector<std::string> legend_rows(const StereonetInput& input) {
  std::vector<std::string> rows = {"σ1", "σ2", "σ3"};
  if (input.pole_dot_rows.empty()) {
    for (PoleKind kind : {PoleKind::counted, PoleKind::twinned_below, PoleKind::untwinned_ok,
                          PoleKind::untwinned_violating}) {
      rows.emplace_back(pole_legend(kind));
    }
  }
  for (const auto& [colour, name] : input.pole_dot_rows) rows.push_back(name);
  if (!input.cones_legend.empty()) {
    for (const OverlayCone& c : input.cones) {
      if (std::isfinite(c.half_angle)) rows.push_back(cone_row(c, input.cones_legend));
    }
  }
  if (!input.marks_legend.empty() && !input.cones.empty()) rows.push_back(input.marks_legend);
  if (!input.dots_legend.empty() && !input.dots.empty()) rows.push_back(input.dots_legend);
  if (input.shmax.has_value()) rows.emplace_back("SHmax");
  return rows;
}

// The legend from `at`, its text made smaller where it would not fit in `width` or would
// run below `bottom` (a small window).
void draw_legend(Figure& figure, Point at, double font, double width, double bottom,
                 const StereonetInput& input) {
  const std::vector<std::string> rows = legend_rows(input);
  const double lines = 1.35 * static_cast<double>(rows.size()) + 0.4;
  font = std::min(font, std::max(3.0, (bottom - at.y) / lines));
  font = fitting_size(rows, font, width - 1.6 * font, false);
  const double step = 1.35 * font;
  const double size = 0.3 * font;
  double y = at.y + font;
  auto row = [&](const char* text) {
    figure.text({at.x + 1.6 * font, y}, text, font);
    y += step;
  };
  const char* sigma_text[3] = {"σ1", "σ2", "σ3"};
  for (int32_t j = 0; j < 3; ++j) {
    draw_sigma(figure, {at.x + 0.6 * font, y - 0.35 * font}, j, 0.5 * font);
    row(sigma_text[j]);
  }
  const PoleKind kinds[4] = {PoleKind::counted, PoleKind::twinned_below, PoleKind::untwinned_ok,
                             PoleKind::untwinned_violating};
  for (int32_t k = 0; k < 4 && input.pole_dot_rows.empty(); ++k) {
    pole_symbol(figure, {at.x + 0.6 * font, y - 0.35 * font}, kinds[k], size);
    row(pole_legend(kinds[k]));
  }
  // Poles drawn as dots in the colour of what they belong to: one row per colour.
  for (const auto& [colour, name] : input.pole_dot_rows) {
    const Style style = filled_dot(overlay_colour(colour));
    figure.circle({at.x + 0.6 * font, y - 0.35 * font}, 0.6 * size, style).css_class = "legend";
    row(name.c_str());
  }
  // The marks added to the net (a bootstrap's cones and resampled axes): one row per
  // cone with its size, one for the dots in the colours of the three axes.
  if (!input.cones_legend.empty()) {
    for (const OverlayCone& c : input.cones) {
      if (!std::isfinite(c.half_angle)) continue;
      const Style style = dashed_stroke(overlay_colour(c.sigma));
      Item& sample = figure.line(
          {{at.x + 0.1 * font, y - 0.35 * font}, {at.x + 1.1 * font, y - 0.35 * font}}, style);
      sample.css_class = "legend";
      row(cone_row(c, input.cones_legend).c_str());
    }
  }
  if (!input.marks_legend.empty() && !input.cones.empty()) {
    // A dashed circle in the colour of sigma 1: the colours follow the axes, as on the net.
    figure
        .circle({at.x + 0.6 * font, y - 0.35 * font}, 0.45 * font, dashed_stroke(overlay_colour(1)))
        .css_class = "legend";
    row(input.marks_legend.c_str());
  }
  if (!input.dots_legend.empty() && !input.dots.empty()) {
    for (int32_t j = 0; j < 3; ++j) {
      const Style style = filled_dot(overlay_colour(j + 1));
      figure.circle({at.x + (0.25 + 0.35 * j) * font, y - 0.35 * font}, 0.6 * size, style)
          .css_class = "legend";
    }
    row(input.dots_legend.c_str());
  }
  if (input.shmax.has_value()) {
    Style bar;
    bar.line_width = 2.2;
    figure.line({{at.x + 0.1 * font, y - 0.35 * font}, {at.x + 1.1 * font, y - 0.35 * font}}, bar);
    row("SHmax");
  }
}

}  // namespace

Figure stress_stereonet(const StereonetInput& input, double width, double height) {
  Figure figure;
  figure.width = width;
  figure.height = height;
  const PageLayout layout = page_layout(width, height);
  const double f = layout.font;
  const NetPlace& net = layout.net;
  draw_title(figure, layout.title, f, input.title);
  draw_net(figure, net, f, input.graticule);

  const double pole_size = std::clamp(net.radius / 70.0, 1.2, 0.32 * f);
  for (const NetPole& pole : input.poles) {
    Item& item = pole_symbol(figure, net.at(pole.line), pole.kind, pole_size);
    item.css_class = std::string("pole ") + pole_class(pole.kind);
    item.data = {{"number", std::to_string(pole.number)}};
  }
  for (const OverlayCone& cone_input : input.cones) {
    const Style style = dashed_stroke(overlay_colour(cone_input.sigma));
    // What the cone stands for, so that a program can check the drawing against it: its
    // axis and its half-angle in degrees.
    const LineOrientation axis = lower_hemisphere(cone_input.axis);
    for (const std::vector<NetPoint>& run : cone(cone_input.axis, cone_input.half_angle)) {
      std::vector<Point> page;
      for (const NetPoint& p : run) page.push_back(net.at(p));
      Item& item = figure.line(std::move(page), style);
      item.css_class = "cone";
      item.data = {{"sigma", std::to_string(cone_input.sigma)},
                   {"cone-deg", format_number(cone_input.half_angle, 2)},
                   {"axis-trend", format_number(axis.trend, 1)},
                   {"axis-plunge", format_number(axis.plunge, 1)}};
    }
  }
  for (const OverlayDot& dot : input.dots) {
    const Style style = filled_dot(overlay_colour(dot.sigma));
    figure.circle(net.at(dot.line), 0.6 * pole_size, style).css_class = "resample";
  }
  if (input.shmax) {
    Style bar;
    bar.line_width = 2.2;
    const double a = *input.shmax * std::numbers::pi / 180.0;
    for (double side : {1.0, -1.0}) {
      const double sx = side * std::sin(a);
      const double sy = side * std::cos(a);
      const double r0 = net.radius - 0.2 * f;
      const double r1 = net.radius + 1.1 * f;
      Item& item = figure.line({{net.centre.x + r0 * sx, net.centre.y - r0 * sy},
                                {net.centre.x + r1 * sx, net.centre.y - r1 * sy}},
                               bar);
      item.css_class = "shmax";
      item.data = {{"azimuth", format_number(*input.shmax, 1)}};
    }
  }
  const double sigma_size = std::clamp(net.radius / 22.0, 2.5, 0.6 * f);
  for (int32_t j = 0; j < 3; ++j) {
    const Point at = net.at(input.sigma[j]);
    const LineOrientation line = lower_hemisphere(input.sigma[j]);
    Item& item = draw_sigma(figure, at, j, sigma_size);
    item.css_class = "sigma" + std::to_string(j + 1);
    item.data = {{"x", format_number(at.x, 2)},
                 {"y", format_number(at.y, 2)},
                 {"trend", format_number(line.trend, 1)},
                 {"plunge", format_number(line.plunge, 1)}};
  }
  for (int32_t j = 0; j < 3; ++j) {
    draw_sigma_label(figure, net, net.at(input.sigma[j]), j, f);
  }
  const double below = draw_text_block(figure, layout.block, input.summary, f, layout.block_width);
  const Point legend =
      layout.legend.y >= 0.0 ? layout.legend : Point{layout.block.x, below + 0.6 * f};
  const double legend_width =
      layout.legend.y >= 0.0 ? width - legend.x - 1.2 * f : layout.block_width;
  draw_legend(figure, legend, f, legend_width, height - 0.6 * f, input);
  return figure;
}

Figure grains_stereonet(const GrainsInput& input, double width, double height) {
  Figure figure;
  figure.width = width;
  figure.height = height;
  const PageLayout layout = page_layout(width, height);
  const double f = layout.font;
  draw_title(figure, layout.title, f, input.title);
  draw_net(figure, layout.net, f, input.graticule);
  const double size = std::clamp(layout.net.radius / 70.0, 1.2, 0.32 * f);
  Style dot;
  dot.filled = true;
  dot.line_width = 0.4;
  for (const GrainAxis& axis : input.axes) {
    Item& item = figure.circle(layout.net.at(axis.line), size, dot);
    item.css_class = "c_axis";
    item.data = {{"number", std::to_string(axis.number)}};
  }
  draw_text_block(figure, layout.block, input.summary, f, layout.block_width);
  return figure;
}

}  // namespace figures
