// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing a figure with Cairo, and writing it to a file: SVG by our own writer, PDF and
// PNG through Cairo. Files are the same bytes for the same figure: the PDF carries a
// fixed creation date and no other date.
#pragma once

#include <cstdint>
#include <string>

#include "figures/figure.h"

typedef struct _cairo cairo_t;

namespace figures {

// Draws the items on a context whose user unit is the figure's point.
void draw(const Figure& figure, cairo_t* cr);

// Draws the figure, `scale` pixels to the point, onto white in a 32-bit image whose
// pixels are 0xffRRGGBB words (as windows keep their images). Empty when it drew, else
// what went wrong.
std::string draw_pixels(const Figure& figure, unsigned char* data, int32_t width, int32_t height,
                        int32_t stride, double scale);

enum class FileFormat { svg, pdf, png, unknown };
// From the file name's extension, in any case.
FileFormat format_of(const std::string& path);

inline constexpr int32_t default_dpi = 300;

// Resolutions a PNG may be asked for: past the upper end a page-sized figure no longer
// fits in memory as one image.
inline constexpr int32_t min_dpi = 10;
inline constexpr int32_t max_dpi = 2400;

// The bytes of the figure's file in a format; a PNG has dpi pixels per inch. Empty on
// success, else what went wrong.
std::string render_figure(const Figure& figure, FileFormat format, int32_t dpi, std::string& bytes);

// Writes the figure to path in the format of its extension. Empty on success, else what
// went wrong.
std::string write_figure(const Figure& figure, const std::string& path, int32_t dpi = default_dpi);

// Pixel size of the figure's PNG at a resolution.
int32_t pixels(double points, int32_t dpi);

}  // namespace figures
