// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/figure.h"

#include <cairo.h>

#include <charconv>
#include <cmath>

namespace figures {

Item& Figure::line(std::vector<Point> points, const Style& style, bool closed) {
  Item& item = items.emplace_back();
  item.kind = Item::Kind::polyline;
  item.points = std::move(points);
  item.closed = closed;
  item.style = style;
  return item;
}

Item& Figure::circle(Point centre, double radius, const Style& style) {
  Item& item = items.emplace_back();
  item.kind = Item::Kind::circle;
  item.centre = centre;
  item.radius = radius;
  item.style = style;
  return item;
}

Item& Figure::text(Point at, std::string text, double size, Anchor anchor, bool bold,
                   Colour colour) {
  Item& item = items.emplace_back();
  item.kind = Item::Kind::text;
  item.centre = at;
  item.text = std::move(text);
  item.font_size = size;
  item.anchor = anchor;
  item.bold = bold;
  item.style.filled = true;
  item.style.fill = colour;
  item.style.stroked = false;
  return item;
}

void set_text_options(cairo_t* cr) {
  // Unhinted metrics: text measures the same on every surface and at every size, so the
  // layout of a PNG and of a PDF agree.
  cairo_font_options_t* options = cairo_font_options_create();
  cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
  cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
  cairo_set_font_options(cr, options);
  cairo_font_options_destroy(options);
}

double text_width(const std::string& text, double size, bool bold) {
  // One scratch context for all measuring; the font is chosen by name through fontconfig,
  // as the renderers do.
  thread_local cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
  auto fresh = [] {
    cairo_t* context = cairo_create(surface);
    set_text_options(context);
    return context;
  };
  thread_local cairo_t* cr = fresh();
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, text.c_str(), &extents);
  if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) {
    // A context in error measures nothing ever after: the next text gets a new one.
    cairo_destroy(cr);
    cr = fresh();
    return 0.0;
  }
  return extents.x_advance;
}

std::string format_number(double value, int32_t decimals) {
  // Past this no value of a figure means anything (a threshold never reached leaves an
  // objective near the float range's end): the figure says so rather than print 38 digits.
  if (!std::isfinite(value) || std::fabs(value) >= largest_shown) return undefined_text;
  char buffer[64];
  const double scale = std::pow(10.0, decimals);
  double rounded = std::round(value * scale) / scale;
  if (rounded == 0.0) rounded = 0.0;  // no "-0"
  auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, rounded, std::chars_format::fixed, decimals);
  if (error != std::errc()) return "0";
  return std::string(buffer, end);
}

}  // namespace figures
