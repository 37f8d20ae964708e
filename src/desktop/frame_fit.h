// SPDX-License-Identifier: GPL-3.0-or-later
// Where the frame opens: as it was left when that still fits the screen, else a size
// that suits the screen. Sizes are in the screen's device-independent pixels, so a
// screen at 2x scaling is fitted as one of half its pixel count.
#pragma once

#include <cstdint>
#include <optional>

namespace desktop {

struct Box {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  bool operator==(const Box&) const = default;
};

// The smallest frame that still shows a console beside the menus and the status bar.
inline constexpr int32_t min_frame_width = 480;
inline constexpr int32_t min_frame_height = 360;

// saved: the frame's outer box when the last session ended (none on a first start).
// available: the screen's area less its panels. A first start gets a centred frame of at
// most 1000 x 760, never more than nine tenths of the screen; a saved box keeps its size
// where the screen is large enough and is moved, whole, onto the screen.
Box fit_frame(const std::optional<Box>& saved, const Box& available);

}  // namespace desktop
