// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled example's plane rows, read once by a run of the driver in this process and
// kept for every test of the suite.
#pragma once

#include <vector>

#include "gemino/driver_in_process.h"
#include "gemino/invert.h"

namespace gemino_test {

inline const std::vector<gemino::PlaneRow>& example_rows() {
  static const std::vector<gemino::PlaneRow> rows = [] {
    ScratchDir dir;
    EXPECT_EQ(
        run_driver_in_process(dir, GEMINO_EXAMPLES "/params.txt", GEMINO_EXAMPLES "/data.txt"), 0);
    return gemino::rows_of(gemino::shared_state());
  }();
  return rows;
}

}  // namespace gemino_test
