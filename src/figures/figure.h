// SPDX-License-Identifier: GPL-3.0-or-later
// A figure as a list of things to draw, in points (1/72 inch) from the top left corner.
// The figure builders fill it; one writer turns it into SVG, the Cairo renderer into
// PDF, PNG or a window's pixels. Items may carry a class and data attributes: the SVG
// keeps them so that programs can find what a figure shows.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

typedef struct _cairo cairo_t;

namespace figures {

struct Point {
  double x = 0.0;
  double y = 0.0;
};

struct Colour {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Colour&) const = default;
};
inline constexpr Colour black{0, 0, 0};
inline constexpr Colour white{255, 255, 255};

struct Style {
  bool filled = false;
  Colour fill = black;
  bool stroked = true;
  Colour stroke = black;
  double line_width = 0.75;
  bool dashed = false;
};

// A dashed line in a colour: thresholds, cones, suggested shares.
inline Style dashed_stroke(Colour colour, double line_width = 1.0) {
  Style style;
  style.stroke = colour;
  style.line_width = line_width;
  style.dashed = true;
  return style;
}

// A filled shape without an outline: the dots of poles and of resampled axes.
inline Style filled_dot(Colour colour) {
  Style style;
  style.filled = true;
  style.fill = colour;
  style.stroked = false;
  return style;
}

enum class Anchor { start, middle, end };

struct Item {
  enum class Kind { polyline, circle, text };
  Kind kind = Kind::polyline;
  Style style;
  // polyline
  std::vector<Point> points;
  bool closed = false;
  // circle, and the anchor point of a text
  Point centre;
  double radius = 0.0;
  // text
  std::string text;  // UTF-8
  double font_size = 10.0;
  bool bold = false;
  Anchor anchor = Anchor::start;
  bool vertical = false;  // read upward, turned a quarter turn about its anchor
  // what the item stands for
  std::string css_class;
  std::vector<std::pair<std::string, std::string>> data;  // name without "data-", value
};

struct Figure {
  double width = 0.0;
  double height = 0.0;
  std::vector<Item> items;

  Item& line(std::vector<Point> points, const Style& style, bool closed = false);
  Item& circle(Point centre, double radius, const Style& style);
  Item& text(Point at, std::string text, double size, Anchor anchor = Anchor::start,
             bool bold = false, Colour colour = black);
};

// Width in points of a text in DejaVu Sans at a size, as the renderers will set it.
double text_width(const std::string& text, double size, bool bold = false);

// Text settings shared by measuring and drawing.
void set_text_options(cairo_t* cr);

// Numbers in figures and in the SVG, independent of the locale: `decimals` places,
// without a minus sign on a zero. A value that is not finite, or as large as
// largest_shown, is "undefined".
inline constexpr double largest_shown = 1e15;
inline constexpr const char* undefined_text = "undefined";
std::string format_number(double value, int32_t decimals);

}  // namespace figures
