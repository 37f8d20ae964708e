// SPDX-License-Identifier: GPL-3.0-or-later
// The margin of a tensor and the widest one among tensors that fit no worse: on the bundled
// example many tensors fit every twin (objective 0), and the widest-margin one among them
// stands further from every untwinned plane than the one a restart stops at.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "gemino/converged.h"
#include "gemino/example_rows.h"
#include "gemino/margin.h"
#include "gemino/objective.h"

namespace {

using gemino_test::example_rows;

gemino::InversionOptions run_options(int32_t twin_percent) {
  gemino::InversionOptions options;
  options.start_mode = 1;
  options.trial_count = 100;
  options.twin_percent = twin_percent;
  options.seed = 4321;
  options.iteration_limit = 600;
  return options;
}

float margin_of(gemino::State& s, const gemino::InvertedTensor& t, float& f) {
  const float x[4] = {t.tensor.params[0], t.tensor.params[1], t.tensor.params[2],
                      t.tensor.params[3]};
  return gemino::twin_margin(s, x, f);
}

TEST(TwinMargin, IsNotNegativeExactlyWhereNoUntwinnedPlaneStandsAboveTheThreshold) {
  const auto state = std::make_unique<gemino::State>();
  gemino::invert(example_rows(), run_options(100), *state);
  int32_t fitting = 0;
  int32_t misfitting = 0;
  // Tensors around the one found and far from it: both kinds occur.
  const gemino::InversionResult r = gemino::invert(example_rows(), run_options(100), *state);
  for (int32_t i = 0; i < 400; ++i) {
    const float spread = i < 200 ? 0.002f * static_cast<float>(i % 20) : 0.05f;
    const float t = static_cast<float>(i);
    const float x[4] = {
        r.final.tensor.params[0] + spread * std::sin(1.3f * t),
        r.final.tensor.params[1] + spread * std::cos(0.7f * t),
        r.final.tensor.params[2] + spread * std::sin(2.9f * t),
        std::fmin(1.0f, std::fmax(0.0f, r.final.tensor.params[3] + spread * std::cos(1.9f * t)))};
    float f = -1.0f;
    const float m = gemino::twin_margin(*state, x, f);
    float score = -1.0f;
    gemino::objective(*state, x, score);
    EXPECT_EQ(f, score) << i;
    EXPECT_EQ(m >= 0.0f, f == 0.0f) << i << " margin " << m << " objective " << f;
    (f == 0.0f ? fitting : misfitting) += 1;
    // The ranking left in the state is the tensor's: the margin is its threshold less the
    // highest-ranked untwinned plane, which lies below it when the tensor fits.
    if (f == 0.0f) {
      const std::optional<float> below = gemino::untwinned_below_threshold(*state);
      ASSERT_TRUE(below.has_value()) << i;
      EXPECT_EQ(state->threshold - *below, m) << i;
    }
  }
  EXPECT_GT(fitting, 20);
  EXPECT_GT(misfitting, 20);
}

TEST(TwinMargin, HasNoneWithoutAThreshold) {
  // Rows without a twinned plane leave the walk without a threshold, whatever the share
  // counted; the margin would otherwise be measured from a threshold the walk never set.
  std::vector<gemino::PlaneRow> rows(example_rows().begin(), example_rows().end());
  for (gemino::PlaneRow& row : rows) row.twin_flag = -1;
  const auto state = std::make_unique<gemino::State>();
  for (const int32_t percent : {100, 50}) {
    const gemino::InversionResult r = gemino::invert(rows, run_options(percent), *state);
    ASSERT_EQ(r.status, gemino::InversionStatus::done);
    float f = 0.0f;
    EXPECT_EQ(margin_of(*state, r.final, f), -std::numeric_limits<float>::infinity()) << percent;
    const gemino::InvertedTensor wide = gemino::widen_margin(*state, r.final);
    EXPECT_EQ(std::memcmp(wide.tensor.params, r.final.tensor.params, sizeof wide.tensor.params), 0);
  }
}

TEST(WidestMargin, WidensTheMarginWithoutWorseningTheFitAndTheSameWayEveryTime) {
  const auto state = std::make_unique<gemino::State>();
  for (const int32_t percent : {100, 80}) {
    const gemino::InversionResult r = gemino::invert(example_rows(), run_options(percent), *state);
    ASSERT_EQ(r.status, gemino::InversionStatus::done);
    float f0 = 0.0f;
    const float m0 = margin_of(*state, r.final, f0);
    const gemino::InvertedTensor wide = gemino::widen_margin(*state, r.final);
    float f1 = 0.0f;
    const float m1 = margin_of(*state, wide, f1);
    EXPECT_GT(m1, m0 + 1.0E-3f) << percent;
    EXPECT_LE(f1, f0) << percent;
    EXPECT_EQ(wide.objective_reported, f1) << percent;
    EXPECT_GE(wide.tensor.params[3], 0.0f);
    EXPECT_LE(wide.tensor.params[3], 1.0f);
    const gemino::InvertedTensor again = gemino::widen_margin(*state, r.final);
    EXPECT_EQ(std::memcmp(wide.tensor.params, again.tensor.params, sizeof wide.tensor.params), 0);
  }
}

TEST(WidestMargin, ConvergedSearchAnswersWithTheWidenedTensorAndLeavesItsRanking) {
  const auto state = std::make_unique<gemino::State>();
  gemino::ConvergedOptions plain;
  gemino::ConvergedOptions widest;
  widest.widest_margin = true;
  const gemino::ConvergedResult a =
      gemino::invert_converged(example_rows(), run_options(100), plain, *state);
  const gemino::ConvergedResult b =
      gemino::invert_converged(example_rows(), run_options(100), widest, *state);
  // The same restarts, then the answer moved.
  EXPECT_EQ(a.restarts, b.restarts);
  EXPECT_EQ(a.restarts_at_best, b.restarts_at_best);
  EXPECT_LE(b.best.objective_reported, a.best.objective_reported);
  float fa = 0.0f;
  float fb = 0.0f;
  EXPECT_GT(margin_of(*state, b.best, fb), margin_of(*state, a.best, fa));
  // The state holds the ranking under the answer, as after any converged search.
  gemino::invert_converged(example_rows(), run_options(100), widest, *state);
  EXPECT_EQ(state->threshold, b.best.tensor.threshold);
}

}  // namespace
