// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/frame_fit.h"

#include <algorithm>

namespace desktop {

namespace {

constexpr int32_t first_width = 1000;
constexpr int32_t first_height = 760;

// Moves one side of a box onto [start, start + length), shrinking it when it is longer.
void fit_span(int32_t& pos, int32_t& size, int32_t start, int32_t length, int32_t smallest) {
  size = std::min(size, length);
  size = std::max(size, std::min(smallest, length));
  pos = std::clamp(pos, start, start + length - size);
}

}  // namespace

Box fit_frame(const std::optional<Box>& saved, const Box& available) {
  if (available.width <= 0 || available.height <= 0) {
    return saved.value_or(Box{0, 0, first_width, first_height});
  }
  Box box;
  if (saved && saved->width > 0 && saved->height > 0) {
    box = *saved;
  } else {
    box.width = std::min(first_width, available.width * 9 / 10);
    box.height = std::min(first_height, available.height * 9 / 10);
    box.x = available.x + (available.width - box.width) / 2;
    box.y = available.y + (available.height - box.height) / 2;
  }
  fit_span(box.x, box.width, available.x, available.width, min_frame_width);
  fit_span(box.y, box.height, available.y, available.height, min_frame_height);
  return box;
}

}  // namespace desktop
