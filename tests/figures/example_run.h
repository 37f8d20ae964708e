// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled example's run as the figures take it: inverted once in the test process and
// kept for every test that draws it, with its magnitudes, the input the bootstrap and the
// scan take, and the folder it ran in (where a test may write its figures).
#pragma once

#include <gtest/gtest.h>

#include "bootstrap/resampling.h"
#include "gemino/driver_in_process.h"
#include "results/magnitudes.h"
#include "results/result_model.h"

namespace figures_test {

struct ExampleRun {
  ExampleRun() {
    EXPECT_EQ(gemino_test::run_driver_in_process(dir, GEMINO_EXAMPLES "/params.txt",
                                                 GEMINO_EXAMPLES "/data.txt"),
              0);
    EXPECT_TRUE(results::has_result(gemino::shared_state()));
    result = results::build_result(gemino::shared_state());
    magnitudes = results::stress_magnitudes(result);
    input = bootstrap::run_input(gemino::shared_state());
  }
  gemino_test::ScratchDir dir;
  results::Result result;
  results::StressMagnitudes magnitudes;
  bootstrap::RunInput input;
};

inline const ExampleRun& example_run() {
  static const ExampleRun run;
  return run;
}

}  // namespace figures_test
