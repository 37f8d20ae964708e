// SPDX-License-Identifier: GPL-3.0-or-later
// The progress hook: what the run reports, and a hook that ends the run.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "gemino/driver_in_process.h"
#include "gemino/progress.h"
#include "recfmt/stop.h"

namespace {

using gemino::ProgressStage;

struct Call {
  ProgressStage stage;
  int32_t done;
  int32_t total;
};

class ProgressHook : public testing::Test {
 protected:
  void TearDown() override { gemino::set_progress_hook({}); }
  gemino_test::ScratchDir dir;
};

TEST_F(ProgressHook, EveryStartingTensorThenEveryTrialStepInOrder) {
  std::vector<Call> calls;
  gemino::set_progress_hook([&](ProgressStage stage, int32_t done, int32_t total) {
    calls.push_back({stage, done, total});
  });
  ASSERT_EQ(gemino_test::run_driver_in_process(dir, GEMINO_EXAMPLES "/params.txt",
                                               GEMINO_EXAMPLES "/data.txt"),
            0);
  // The bundled example: 200 starting tensors, 900 trial steps.
  ASSERT_EQ(calls.size(), 1100u);
  for (int32_t k = 0; k < 1100; ++k) {
    const bool start = k < 200;
    EXPECT_EQ(calls[k].stage, start ? ProgressStage::starting_tensors : ProgressStage::search);
    EXPECT_EQ(calls[k].done, start ? k + 1 : k - 199);
    EXPECT_EQ(calls[k].total, start ? 200 : 900);
  }
  // The report is the one of a run without a hook.
  EXPECT_EQ(gemino_test::slurp(dir.file("report.txt")),
            gemino_test::slurp(GEMINO_TEST_DATA "/example-report.txt"));
}

TEST_F(ProgressHook, AStopFromTheHookEndsTheRunThere) {
  int32_t steps = 0;
  gemino::set_progress_hook([&](ProgressStage stage, int32_t, int32_t) {
    if (stage == ProgressStage::search && ++steps == 10) recfmt::stop(3);
  });
  EXPECT_EQ(gemino_test::run_driver_in_process(dir, GEMINO_EXAMPLES "/params.txt",
                                               GEMINO_EXAMPLES "/data.txt"),
            3);
  EXPECT_EQ(steps, 10);
}

}  // namespace
