// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/bmp.h"

#include <limits>

namespace vozo {

namespace {

constexpr int32_t file_header_size = 14;
constexpr int32_t info_header_size = 40;

void put16(std::string& out, uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void put32(std::string& out, uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

}  // namespace

bool bmp_layout(int32_t width, int32_t height, BmpLayout& layout) {
  if (width <= 0 || height <= 0) return false;
  // Each row holds 3 bytes a pixel, padded to whole 32-bit words.
  const int64_t stride = (int64_t{width} * 24 + 31) / 32 * 4;
  const int64_t image = stride * height;
  const int64_t offset = file_header_size + info_header_size;
  if (offset + image > std::numeric_limits<int32_t>::max()) return false;
  layout.row_stride = static_cast<int32_t>(stride);
  layout.image_size = static_cast<int32_t>(image);
  layout.pixel_offset = static_cast<int32_t>(offset);
  layout.file_size = static_cast<int32_t>(offset + image);
  return true;
}

std::string bmp_header(int32_t width, int32_t height) {
  BmpLayout layout;
  if (!bmp_layout(width, height, layout)) return {};
  std::string out;
  out.reserve(static_cast<size_t>(layout.pixel_offset));
  put16(out, 19778);  // "BM"
  put32(out, static_cast<uint32_t>(layout.file_size));
  put16(out, 0);
  put16(out, 0);
  put32(out, static_cast<uint32_t>(layout.pixel_offset));
  put32(out, info_header_size);
  put32(out, static_cast<uint32_t>(width));
  put32(out, static_cast<uint32_t>(height));  // positive: rows bottom-up
  put16(out, 1);                              // planes
  put16(out, 24);                             // bits per pixel
  put32(out, 0);                              // no compression
  put32(out, static_cast<uint32_t>(layout.image_size));
  put32(out, 0);  // horizontal resolution
  put32(out, 0);  // vertical resolution
  put32(out, 0);  // colours used: none for 24 bits
  put32(out, 0);  // colours important
  return out;
}

std::string bmp_file(int32_t width, int32_t height, const uint32_t* pixels,
                     int32_t pixels_per_row) {
  BmpLayout layout;
  if (!bmp_layout(width, height, layout) || pixels == nullptr || pixels_per_row < width) return {};
  std::string out = bmp_header(width, height);
  out.reserve(static_cast<size_t>(layout.file_size));
  const int32_t padding = layout.row_stride - 3 * width;
  for (int32_t y = height - 1; y >= 0; --y) {
    const uint32_t* row = pixels + static_cast<int64_t>(y) * pixels_per_row;
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t rgb = row[x];
      out += static_cast<char>(rgb & 0xFF);          // blue
      out += static_cast<char>((rgb >> 8) & 0xFF);   // green
      out += static_cast<char>((rgb >> 16) & 0xFF);  // red
    }
    out.append(static_cast<size_t>(padding), '\0');
  }
  return out;
}

}  // namespace vozo
