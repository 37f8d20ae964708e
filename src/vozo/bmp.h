// SPDX-License-Identifier: GPL-3.0-or-later
// Windows bitmap files of a 24-bit screen capture: a 14-byte file header, a 40-byte
// information header, no colour table, then the rows bottom-up, each padded to a
// multiple of 4 bytes.
#pragma once

#include <cstdint>
#include <string>

namespace vozo {

struct BmpLayout {
  int32_t row_stride = 0;    // bytes per stored row
  int32_t image_size = 0;    // row_stride x height
  int32_t pixel_offset = 0;  // 54
  int32_t file_size = 0;     // pixel_offset + image_size
};
// False (layout untouched) when width or height is not positive or the file would
// not fit a 32-bit size.
bool bmp_layout(int32_t width, int32_t height, BmpLayout& layout);

// The 54 header bytes.
std::string bmp_header(int32_t width, int32_t height);

// A whole file from top-down rows of 0xRRGGBB pixels (the high byte is ignored);
// row y starts at pixels + y * pixels_per_row. Empty when the size is refused.
std::string bmp_file(int32_t width, int32_t height, const uint32_t* pixels, int32_t pixels_per_row);

}  // namespace vozo
