// SPDX-License-Identifier: GPL-3.0-or-later
// The objective in the units of the tensor as reported: renaming the principal axes to
// bring R into [0, 1] changes sigma1 - sigma3, and the objective scales with it.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "gemino/driver_in_process.h"
#include "gemino/invert.h"
#include "gemino/objective.h"
#include "gemino/report.h"

namespace {

std::vector<gemino::PlaneRow> example_rows() {
  gemino_test::ScratchDir dir;
  EXPECT_EQ(gemino_test::run_driver_in_process(dir, GEMINO_EXAMPLES "/params.txt",
                                               GEMINO_EXAMPLES "/data.txt"),
            0);
  return gemino::rows_of(gemino::shared_state());
}

// The score of x on a state holding `rows` and nothing else of a run.
float score_of(const std::vector<gemino::PlaneRow>& rows, const float (&x)[4]) {
  auto s = std::make_unique<gemino::State>();
  gemino::InversionOptions options;
  options.trial_count = 1;
  options.iteration_limit = 1;
  gemino::invert(rows, options, *s);
  float f = 0.0f;
  gemino::objective(*s, x, f);
  return f;
}

TEST(ReportedUnits, RenamingScalesTheObjectiveByTheNewSigma1MinusSigma3) {
  const std::vector<gemino::PlaneRow> rows = example_rows();
  auto s = std::make_unique<gemino::State>();
  gemino::InversionOptions options;
  options.trial_count = 1;
  options.iteration_limit = 1;
  gemino::invert(rows, options, *s);
  // R above 1 exchanges sigma1 and sigma2: sigma1 - sigma3 becomes R times the old one.
  // R below 0 exchanges sigma2 and sigma3: it becomes 1 - R times the old one.
  struct Case {
    float r, r_after, scale;
  };
  const Case cases[] = {
      {2.5f, 0.4f, 0.4f}, {4.0f, 0.25f, 0.25f}, {-0.25f, 0.2f, 0.8f}, {-3.0f, 0.75f, 0.25f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.r);
    float x[4] = {0.3f, -0.7f, 1.1f, c.r};
    float before = 0.0f;
    gemino::objective(*s, x, before);
    ASSERT_GT(before, 0.5f);  // untwinned planes above the threshold: a value to scale
    float rescored = -1.0f;
    ASSERT_TRUE(gemino::bring_r_into_range(*s, x, &rescored));
    EXPECT_NEAR(x[3], c.r_after, 1e-6f);
    EXPECT_NEAR(rescored, before * c.scale, 1e-5f * before);
    // It is the score of the renamed tensor itself.
    float again = 0.0f;
    gemino::objective(*s, x, again);
    EXPECT_EQ(rescored, again);
  }
  float inside[4] = {0.3f, -0.7f, 1.1f, 0.5f};
  float untouched = -1.0f;
  EXPECT_FALSE(gemino::bring_r_into_range(*s, inside, &untouched));
  EXPECT_EQ(untouched, -1.0f);
}

TEST(ReportedUnits, InversionGivesTheObjectiveOfTheTensorItReports) {
  const std::vector<gemino::PlaneRow> rows = example_rows();
  // One starting tensor, from the record: R = 1.8 is renamed to 1/1.8, and the objective
  // of the renamed tensor is 1/1.8 times the one scored before; R = 0.3 is not renamed.
  struct Case {
    float r, scale;
  };
  for (const Case c : {Case{1.8f, 1.0f / 1.8f}, Case{-0.6f, 1.0f / 1.6f}, Case{0.3f, 1.0f}}) {
    SCOPED_TRACE(c.r);
    gemino::InversionOptions options;
    options.start_mode = 5;
    options.trial_count = 1;
    options.iteration_limit = 60;
    options.start_records = {gemino::StartRecord{120, 20, 10, 30, c.r}};
    const gemino::InversionResult result = gemino::invert(rows, options);
    ASSERT_EQ(result.status, gemino::InversionStatus::done);
    const gemino::InvertedTensor& start = result.start;
    ASSERT_GT(start.tensor.objective, 0.5f);
    EXPECT_NEAR(start.objective_reported, start.tensor.objective * c.scale,
                1e-5f * start.tensor.objective);
    if (c.scale == 1.0f) {
      EXPECT_EQ(start.objective_reported, start.tensor.objective);
    }
    for (const gemino::InvertedTensor* t : {&result.start, &result.final}) {
      float x[4];
      for (int32_t k = 0; k < 4; ++k) x[k] = t->tensor.params[k];
      EXPECT_GE(x[3], 0.0f);
      EXPECT_LE(x[3], 1.0f);
      EXPECT_EQ(t->objective_reported, score_of(rows, x));
    }
  }
}

}  // namespace
