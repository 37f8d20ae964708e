// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled example's run, as the bootstrap and the scan take it: inverted once in this
// process and kept for every test of the suite.
#pragma once

#include "bootstrap/resampling.h"
#include "gemino/driver_in_process.h"

namespace bootstrap_test {

inline const bootstrap::RunInput& example_input() {
  static const bootstrap::RunInput input = [] {
    gemino_test::ScratchDir dir;
    EXPECT_EQ(gemino_test::run_driver_in_process(dir, GEMINO_EXAMPLES "/params.txt",
                                                 GEMINO_EXAMPLES "/data.txt"),
              0);
    return bootstrap::run_input(gemino::shared_state());
  }();
  return input;
}

}  // namespace bootstrap_test
