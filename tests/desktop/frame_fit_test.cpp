// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's first and later places: always whole on the screen, never below the
// smallest useful size the screen allows, and as left when it fits.
#include "desktop/frame_fit.h"

#include <gtest/gtest.h>

namespace {

using desktop::Box;
using desktop::fit_frame;

TEST(FrameFit, FirstStartIsCentredAndFitsTheScreen) {
  struct Case {
    const char* name;
    Box available;
    Box expected;
  };
  const Case cases[] = {
      // A full HD screen with a 40-pixel panel at the bottom.
      {"1920x1080", {0, 0, 1920, 1040}, {460, 140, 1000, 760}},
      // The same screen at 2x scaling is 960x540 device-independent pixels.
      {"1920x1080 at 2x", {0, 0, 960, 520}, {48, 26, 864, 468}},
      {"1024x768 with a top panel", {0, 24, 1024, 744}, {51, 61, 921, 669}},
      // Smaller than the smallest frame: the whole screen, no more.
      {"tiny", {0, 0, 400, 300}, {0, 0, 400, 300}},
      {"second monitor to the left", {-1280, 0, 1280, 1024}, {-1140, 132, 1000, 760}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fit_frame(std::nullopt, c.available), c.expected) << c.name;
  }
}

TEST(FrameFit, ASavedBoxIsKeptOrBroughtBackOntoTheScreen) {
  const Box screen{0, 0, 1280, 800};
  struct Case {
    const char* name;
    Box saved;
    Box expected;
  };
  const Case cases[] = {
      {"fits", {100, 50, 900, 700}, {100, 50, 900, 700}},
      {"touches the far corner", {380, 100, 900, 700}, {380, 100, 900, 700}},
      {"one pixel beyond", {381, 101, 900, 700}, {380, 100, 900, 700}},
      {"left on a monitor now gone", {2000, 300, 900, 700}, {380, 100, 900, 700}},
      {"above and left", {-50, -20, 900, 700}, {0, 0, 900, 700}},
      {"larger than the screen (was on a 4K one)", {0, 0, 3000, 2000}, {0, 0, 1280, 800}},
      {"shrunk below the smallest frame", {10, 10, 200, 100}, {10, 10, 480, 360}},
      {"empty: treated as a first start", {10, 10, 0, 0}, {140, 40, 1000, 720}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fit_frame(c.saved, screen), c.expected) << c.name;
  }
}

}  // namespace
