// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/svg_writer.h"

#include <cstdio>

namespace figures {

namespace {

std::string number(double v) {
  return format_number(v, 2);
}

std::string colour(Colour c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", c.r, c.g, c.b);
  return buffer;
}

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // XML cannot hold the other control characters, not even escaped.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') break;
        out += c;
    }
  }
  return out;
}

std::string style_attributes(const Style& style) {
  std::string out = " fill=\"" + (style.filled ? colour(style.fill) : std::string("none")) + "\"";
  if (style.stroked) {
    out += " stroke=\"" + colour(style.stroke) + "\" stroke-width=\"" +
           format_number(style.line_width, 2) + "\" stroke-linejoin=\"round\"";
    if (style.dashed) {
      out += " stroke-dasharray=\"" + number(style.line_width * 4.0) + "," +
             number(style.line_width * 3.0) + "\"";
    }
  }
  return out;
}

std::string mark_attributes(const Item& item) {
  std::string out;
  if (!item.css_class.empty()) out += " class=\"" + escaped(item.css_class) + "\"";
  for (const auto& [name, value] : item.data) {
    out += " data-" + name + "=\"" + escaped(value) + "\"";
  }
  return out;
}

}  // namespace

std::string svg_document(const Figure& figure) {
  const std::string w = number(figure.width);
  const std::string h = number(figure.height);
  std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  // Runs of blanks in the text block line up columns: they are kept, not folded into one.
  out +=
      "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" xml:space=\"preserve\" width=\"" +
      w + "pt\" height=\"" + h + "pt\" viewBox=\"0 0 " + w + " " + h + "\">\n";
  out += "<rect width=\"" + w + "\" height=\"" + h + "\" fill=\"#ffffff\"/>\n";
  for (const Item& item : figure.items) {
    switch (item.kind) {
      case Item::Kind::polyline: {
        out += item.closed ? "<polygon" : "<polyline";
        out += mark_attributes(item) + " points=\"";
        for (std::size_t i = 0; i < item.points.size(); ++i) {
          if (i > 0) out += ' ';
          out += number(item.points[i].x) + "," + number(item.points[i].y);
        }
        out += "\"" + style_attributes(item.style) + "/>\n";
        break;
      }
      case Item::Kind::circle:
        out += "<circle" + mark_attributes(item) + " cx=\"" + number(item.centre.x) + "\" cy=\"" +
               number(item.centre.y) + "\" r=\"" + number(item.radius) + "\"" +
               style_attributes(item.style) + "/>\n";
        break;
      case Item::Kind::text: {
        const char* anchor = item.anchor == Anchor::start    ? "start"
                             : item.anchor == Anchor::middle ? "middle"
                                                             : "end";
        out += "<text" + mark_attributes(item) + " x=\"" + number(item.centre.x) + "\" y=\"" +
               number(item.centre.y) + "\" font-family=\"DejaVu Sans\" font-size=\"" +
               number(item.font_size) + "\"";
        if (item.bold) out += " font-weight=\"bold\"";
        if (item.vertical) {
          out += " transform=\"rotate(-90 " + number(item.centre.x) + " " + number(item.centre.y) +
                 ")\"";
        }
        out += std::string(" text-anchor=\"") + anchor + "\" fill=\"" + colour(item.style.fill) +
               "\">" + escaped(item.text) + "</text>\n";
        break;
      }
    }
  }
  out += "</svg>\n";
  return out;
}

}  // namespace figures
