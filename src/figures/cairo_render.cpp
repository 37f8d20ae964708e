// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/cairo_render.h"

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "figures/svg_writer.h"
#include "safe_file/safe_file.h"

namespace figures {

namespace {

void set_colour(cairo_t* cr, Colour c) {
  cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

void paint_style(cairo_t* cr, const Style& style) {
  if (style.filled) {
    set_colour(cr, style.fill);
    if (style.stroked) {
      cairo_fill_preserve(cr);
    } else {
      cairo_fill(cr);
    }
  }
  if (style.stroked) {
    set_colour(cr, style.stroke);
    cairo_set_line_width(cr, style.line_width);
    if (style.dashed) {
      const double dashes[] = {style.line_width * 4.0, style.line_width * 3.0};
      cairo_set_dash(cr, dashes, 2, 0.0);
    } else {
      cairo_set_dash(cr, nullptr, 0, 0.0);
    }
    cairo_stroke(cr);
  }
  cairo_new_path(cr);
}

void draw_text(cairo_t* cr, const Item& item) {
  cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         item.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, item.font_size);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, item.text.c_str(), &extents);
  double x = 0.0;
  if (item.anchor == Anchor::middle) x -= extents.x_advance / 2.0;
  if (item.anchor == Anchor::end) x -= extents.x_advance;
  set_colour(cr, item.style.fill);
  cairo_save(cr);
  cairo_translate(cr, item.centre.x, item.centre.y);
  if (item.vertical) cairo_rotate(cr, -M_PI / 2.0);
  cairo_move_to(cr, x, 0.0);
  cairo_show_text(cr, item.text.c_str());
  cairo_new_path(cr);
  cairo_restore(cr);
}

std::string lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

cairo_status_t append_to_string(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// What went wrong in Cairo, empty when nothing did: a figure that did not draw is an
// error, never a blank page.
std::string drawing_error(cairo_status_t status) {
  if (status == CAIRO_STATUS_SUCCESS) return {};
  return std::string("the figure could not be drawn: ") + cairo_status_to_string(status);
}

std::string pdf_bytes(const Figure& figure, std::string& bytes) {
  cairo_surface_t* surface =
      cairo_pdf_surface_create_for_stream(append_to_string, &bytes, figure.width, figure.height);
  // The same figure gives the same file: a fixed date instead of the time of writing.
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATE_DATE, "2000-01-01T00:00:00Z");
  cairo_t* cr = cairo_create(surface);
  set_text_options(cr);
  draw(figure, cr);
  cairo_show_page(cr);
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) bytes.clear();
  return drawing_error(status);
}

std::string png_bytes(const Figure& figure, int32_t dpi, std::string& bytes) {
  const int32_t w = pixels(figure.width, dpi);
  const int32_t h = pixels(figure.height, dpi);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(surface);
  set_text_options(cr);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_paint(cr);
  cairo_scale(cr, dpi / 72.0, dpi / 72.0);
  draw(figure, cr);
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  if (status == CAIRO_STATUS_SUCCESS) {
    status = cairo_surface_write_to_png_stream(surface, append_to_string, &bytes);
  }
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) bytes.clear();
  return drawing_error(status);
}

}  // namespace

void draw(const Figure& figure, cairo_t* cr) {
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (const Item& item : figure.items) {
    switch (item.kind) {
      case Item::Kind::polyline:
        if (item.points.empty()) break;
        cairo_move_to(cr, item.points[0].x, item.points[0].y);
        for (std::size_t i = 1; i < item.points.size(); ++i) {
          cairo_line_to(cr, item.points[i].x, item.points[i].y);
        }
        if (item.closed) cairo_close_path(cr);
        paint_style(cr, item.style);
        break;
      case Item::Kind::circle:
        cairo_new_sub_path(cr);
        cairo_arc(cr, item.centre.x, item.centre.y, item.radius, 0.0, 2.0 * M_PI);
        cairo_close_path(cr);
        paint_style(cr, item.style);
        break;
      case Item::Kind::text:
        draw_text(cr, item);
        break;
    }
  }
  cairo_restore(cr);
}

std::string draw_pixels(const Figure& figure, unsigned char* data, int32_t width, int32_t height,
                        int32_t stride, double scale) {
  cairo_surface_t* surface =
      cairo_image_surface_create_for_data(data, CAIRO_FORMAT_RGB24, width, height, stride);
  cairo_t* cr = cairo_create(surface);
  set_text_options(cr);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);
  cairo_paint(cr);
  cairo_scale(cr, scale, scale);
  draw(figure, cr);
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  return drawing_error(status);
}

FileFormat format_of(const std::string& path) {
  const std::string name = lower(path);
  auto ends_with = [&](const char* ext) {
    const std::string e(ext);
    return name.size() > e.size() && name.compare(name.size() - e.size(), e.size(), e) == 0;
  };
  if (ends_with(".svg")) return FileFormat::svg;
  if (ends_with(".pdf")) return FileFormat::pdf;
  if (ends_with(".png")) return FileFormat::png;
  return FileFormat::unknown;
}

int32_t pixels(double points, int32_t dpi) {
  return static_cast<int32_t>(std::lround(points * dpi / 72.0));
}

std::string render_figure(const Figure& figure, FileFormat format, int32_t dpi,
                          std::string& bytes) {
  switch (format) {
    case FileFormat::svg:
      bytes = svg_document(figure);
      return {};
    case FileFormat::pdf:
      return pdf_bytes(figure, bytes);
    case FileFormat::png:
      if (dpi < min_dpi || dpi > max_dpi) {
        return "a resolution of " + std::to_string(dpi) + " dpi is outside " +
               std::to_string(min_dpi) + " to " + std::to_string(max_dpi);
      }
      return png_bytes(figure, dpi, bytes);
    case FileFormat::unknown:
      break;
  }
  return "the name must end in .svg, .pdf or .png";
}

std::string write_figure(const Figure& figure, const std::string& path, int32_t dpi) {
  std::string bytes;
  const std::string error = render_figure(figure, format_of(path), dpi, bytes);
  if (!error.empty()) return path + ": " + error;
  const safe_file::Outcome outcome = safe_file::write_file(path, bytes);
  return outcome.ok() ? std::string() : safe_file::message(path, outcome);
}

}  // namespace figures
