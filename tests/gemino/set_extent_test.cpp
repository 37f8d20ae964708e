// SPDX-License-Identifier: GPL-3.0-or-later
// The set of tensors the data cannot tell apart: which restarts belong to it and how far
// apart its axes, R and thresholds lie.
#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <vector>

#include "gemino/converged.h"
#include "gemino/example_rows.h"
#include "gemino/invert_check.h"

namespace {

struct AngleCase {
  float a[3];
  float b[3];
  double degrees;
};

TEST(SetExtent, AxialAngleIsThatOfLinesNotDirections) {
  const float c30 = std::cos(0.5235987755982988f);
  const float s30 = std::sin(0.5235987755982988f);
  const AngleCase cases[] = {
      {{1, 0, 0}, {1, 0, 0}, 0.0},       {{1, 0, 0}, {-1, 0, 0}, 0.0},
      {{0, 0, 1}, {0, 0, -3}, 0.0},      {{1, 0, 0}, {0, 1, 0}, 90.0},
      {{1, 0, 0}, {1, 1, 0}, 45.0},      {{1, 0, 0}, {-1, 1, 0}, 45.0},
      {{1, 0, 0}, {-1, -1, 0}, 45.0},    {{1, 0, 0}, {c30, s30, 0}, 30.0},
      {{1, 0, 0}, {-c30, s30, 0}, 30.0}, {{0, 0, 1}, {0, s30, -c30}, 30.0},
  };
  for (const AngleCase& c : cases) {
    EXPECT_NEAR(gemino::axial_angle_deg(c.a, c.b), c.degrees, 1e-4);
    EXPECT_NEAR(gemino::axial_angle_deg(c.b, c.a), c.degrees, 1e-4);
  }
}

gemino::InvertedTensor tensor(float objective, float r, float threshold, const float s1[3],
                              const float s3[3]) {
  gemino::InvertedTensor t{};
  t.objective_reported = objective;
  t.tensor.objective = objective;
  t.tensor.params[3] = r;
  t.tensor.threshold = threshold;
  for (int k = 0; k < 3; ++k) {
    t.axes[0][k] = s1[k];
    t.axes[2][k] = s3[k];
  }
  return t;
}

// Three restarts tie within the tolerance with sigma1s 30 degrees apart (one of them the
// opposite direction of the same line) and sigma3s 20 degrees apart; a fourth scores just
// above and lies far off.
gemino::ConvergedResult tied_restarts() {
  const float x[3] = {1, 0, 0};
  const float up[3] = {0, 0, 1};
  const float s1b[3] = {-std::cos(0.5235987755982988f), -std::sin(0.5235987755982988f), 0};
  const float s3b[3] = {0, std::sin(0.3490658503988659f), -std::cos(0.3490658503988659f)};
  const float far1[3] = {0, 1, 0};
  const float far3[3] = {1, 0, 0};
  gemino::ConvergedResult c;
  c.restart_tensors = {tensor(0.75f, 0.2f, 0.3f, x, up), tensor(0.5f, 0.5f, 0.25f, x, up),
                       tensor(0.875f, 0.9f, -0.5f, far1, far3), tensor(0.5f, 0.4f, 0.5f, s1b, s3b)};
  for (const auto& t : c.restart_tensors) c.restart_objectives.push_back(t.objective_reported);
  c.restarts = 4;
  c.best_restart = 1;
  c.best = c.restart_tensors[1];
  return c;
}

TEST(SetExtent, TiedRestartsWithinTheToleranceFormTheSet) {
  const gemino::ConvergedResult c = tied_restarts();
  // 0.75 - 0.5 lies on the tolerance and belongs; 0.875 does not.
  const std::vector<gemino::InvertedTensor> set = gemino::indistinct_set(c, 0.25f);
  ASSERT_EQ(set.size(), 3u);
  EXPECT_EQ(set[0].tensor.params[3], 0.5f);  // the answer first
  const gemino::SetExtent e = gemino::set_extent(set);
  EXPECT_EQ(e.tensors, 3);
  EXPECT_NEAR(e.sigma1_deg, 30.0, 1e-4);
  EXPECT_NEAR(e.sigma3_deg, 20.0, 1e-4);
  EXPECT_EQ(e.r_min, 0.2f);
  EXPECT_EQ(e.r_max, 0.5f);
  EXPECT_EQ(e.threshold_min, 0.25f);
  EXPECT_EQ(e.threshold_max, 0.5f);

  // A tighter tolerance keeps only the exact ties.
  const gemino::SetExtent tight = gemino::set_extent(gemino::indistinct_set(c, 0.0f));
  EXPECT_EQ(tight.tensors, 2);
  EXPECT_NEAR(tight.sigma1_deg, 30.0, 1e-4);
  EXPECT_EQ(tight.r_min, 0.4f);
}

TEST(SetExtent, CandidateAnswerJoinsTheRestartsItTies) {
  gemino::ConvergedResult c = tied_restarts();
  const float y[3] = {0, 1, 0};
  const float up[3] = {0, 0, 1};
  c.best = tensor(0.5f, 0.1f, 0.2f, y, up);
  c.best_restart = -1;
  c.best_candidate = 0;
  const gemino::SetExtent e = gemino::set_extent(gemino::indistinct_set(c, 0.0f));
  EXPECT_EQ(e.tensors, 3);  // the candidate and both restarts at 0.5
  EXPECT_NEAR(e.sigma1_deg, 90.0, 1e-4);
  EXPECT_EQ(e.r_min, 0.1f);
  EXPECT_EQ(e.threshold_min, 0.2f);
  // A search that found nothing has no set.
  EXPECT_EQ(gemino::set_extent(gemino::indistinct_set(gemino::ConvergedResult{}, 1.0f)).tensors, 0);
}

}  // namespace

namespace {

using gemino_test::example_rows;

gemino::InversionOptions example_search() {
  gemino::InversionOptions options;
  options.trial_count = 200;
  options.twin_percent = 100;
  options.seed = 1234567;
  options.iteration_limit = 900;
  return options;
}

gemino::SetExtent extent_on(std::span<const gemino::PlaneRow> rows) {
  const gemino::ConvergedOptions converged;
  const gemino::ConvergedResult c = gemino::invert_converged(rows, example_search(), converged);
  EXPECT_EQ(c.status, gemino::InversionStatus::done);
  return gemino::set_extent(gemino::indistinct_set(c, converged.tolerance));
}

// Eight planes, four of them twinned, leave the tensor loose: restarts that fit them all
// end at tensors far apart, and the set shows it.
TEST(SetExtent, FewPlanesLeaveAWideSet) {
  const std::vector<gemino::PlaneRow> few(example_rows().begin(), example_rows().begin() + 8);
  const gemino::SetExtent e = extent_on(few);
  ASSERT_GE(e.tensors, 2);
  EXPECT_GT(e.sigma1_deg, 10.0);
  EXPECT_GT(e.sigma3_deg, 10.0);
  EXPECT_LT(e.threshold_min, e.threshold_max);
}

// The bundled example's planes fix the tensor: the restarts that reach its best agree
// within a few degrees.
TEST(SetExtent, ManyPlanesGiveATightSet) {
  const gemino::SetExtent e = extent_on(example_rows());
  ASSERT_GE(e.tensors, 2);
  EXPECT_LT(e.sigma1_deg, 3.0);
  EXPECT_LT(e.sigma3_deg, 3.0);
  EXPECT_LT(e.r_max - e.r_min, 0.05f);
}

}  // namespace
