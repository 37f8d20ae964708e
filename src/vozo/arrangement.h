// SPDX-License-Identifier: GPL-3.0-or-later
// Where the frame's Cascade command puts its children.
#pragma once

#include <cstdint>

namespace vozo {

// Where Cascade puts child number index (from 0) in a client area of the given size,
// step being the height of a title bar: each child one step right of and below the one
// before, all as large as the client area less the run of steps, which takes a third
// of its height at most and then starts again at the corner. So every child stays
// large enough to work in and every title bar shows.
struct ChildRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};
ChildRect cascade_rect(int32_t index, int32_t client_width, int32_t client_height, int32_t step);

}  // namespace vozo
