// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/mark_finder.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

#include "figures/net_layout.h"
#include "figures/result_figures.h"
#include "figures/stereonet.h"

namespace figures {

namespace {

// The mark an item draws, read from the class and data the figure gave it.
std::optional<Mark> mark_of(const Item& item) {
  if (item.kind == Item::Kind::text) return std::nullopt;
  const std::string_view cls = item.css_class;
  Mark mark;
  if (cls.starts_with("pole ") || cls.starts_with("plane ")) {
    mark.kind = Mark::Kind::plane;
  } else if (cls == "c_axis") {
    mark.kind = Mark::Kind::grain;
  } else if (cls == "sigma1" || cls == "sigma2" || cls == "sigma3") {
    mark.kind = Mark::Kind::axis;
    mark.number = cls.back() - '0';
    return mark;
  } else {
    return std::nullopt;
  }
  for (const auto& [name, value] : item.data) {
    if (name != "number") continue;
    const auto [end, error] =
        std::from_chars(value.data(), value.data() + value.size(), mark.number);
    if (error == std::errc() && end == value.data() + value.size()) return mark;
  }
  return std::nullopt;
}

// How far a point is from what an item draws: from its circle, or from the box around its
// outline; nothing inside either.
double distance(const Item& item, Point p) {
  if (item.kind == Item::Kind::circle) {
    return std::max(0.0, std::hypot(p.x - item.centre.x, p.y - item.centre.y) - item.radius);
  }
  if (item.points.empty()) return std::numeric_limits<double>::infinity();
  double x0 = item.points[0].x, x1 = x0, y0 = item.points[0].y, y1 = y0;
  for (const Point& q : item.points) {
    x0 = std::min(x0, q.x);
    x1 = std::max(x1, q.x);
    y0 = std::min(y0, q.y);
    y1 = std::max(y1, q.y);
  }
  const double dx = std::max({x0 - p.x, 0.0, p.x - x1});
  const double dy = std::max({y0 - p.y, 0.0, p.y - y1});
  return std::hypot(dx, dy);
}

LineOrientation orientation(const results::Line& line) {
  return {line.trend, line.plunge};
}

}  // namespace

std::optional<Mark> mark_at(const Figure& figure, Point at, double reach) {
  std::optional<Mark> found;
  double nearest = std::numeric_limits<double>::infinity();
  for (const Item& item : figure.items) {
    const std::optional<Mark> mark = mark_of(item);
    if (!mark) continue;
    const double d = distance(item, at);
    if (d <= reach && d <= nearest) {
      nearest = d;
      found = mark;
    }
  }
  return found;
}

std::string mark_text(const Mark& mark, const results::Result& r) {
  switch (mark.kind) {
    case Mark::Kind::plane:
      for (const results::Plane& plane : r.planes) {
        if (plane.number != mark.number) continue;
        // A true minus sign, as the plots' numbers have it.
        std::string tau = format_number(plane.tau, 4);
        if (tau.starts_with('-')) tau.replace(0, 1, "\u2212");
        return "Plane " + std::to_string(plane.number) + ": " + pole_legend(pole_kind(plane.cls)) +
               "\npole " + trend_plunge(orientation(plane.pole)) + ", TAU " + tau;
      }
      return "";
    case Mark::Kind::axis: {
      const results::Axis* axes[3] = {&r.result.sigma1, &r.result.sigma2, &r.result.sigma3};
      if (mark.number < 1 || mark.number > 3) return "";
      return "σ" + std::to_string(mark.number) + " " +
             trend_plunge(orientation(axes[mark.number - 1]->line));
    }
    case Mark::Kind::grain:
      for (const results::Grain& grain : r.grains) {
        if (grain.number == mark.number) {
          return "Grain " + std::to_string(grain.number) + ": c-axis " +
                 trend_plunge(orientation(grain.c_axis));
        }
      }
      return "";
  }
  return "";
}

}  // namespace figures
