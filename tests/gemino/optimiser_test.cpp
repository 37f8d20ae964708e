// SPDX-License-Identifier: GPL-3.0-or-later
// The rotation search: its steps, its end, and the new search directions of a rotation.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gemino/objective.h"
#include "gemino/optimiser.h"
#include "gemino/state.h"
#include "report_capture.h"
#include "support/matrix.h"

namespace gemino {
namespace {

using test_support::expect_matrix_near;
using test_support::expect_orthonormal_columns;
using test_support::transpose;

TEST(SearchDirections, GramSchmidtOnTheProgressOfAStage) {
  // From the identity with progress (1, 1, 1, 1) the progress vectors are (1,1,1,1),
  // (0,1,1,1), (0,0,1,1) and (0,0,0,1); worked by hand:
  float v[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  const float progress[4] = {1, 1, 1, 1};
  ASSERT_TRUE(orthogonal_directions(v, progress));
  const float r3 = 0.28867513f;  // 1 / (2 sqrt 3)
  const float expected[4][4] = { // expected[i] is direction i
                                {0.5f, 0.5f, 0.5f, 0.5f},
                                {-0.8660254f, r3, r3, r3},
                                {0.0f, -0.8164966f, 0.4082483f, 0.4082483f},
                                {0.0f, 0.0f, -0.70710678f, 0.70710678f}};
  float directions[4][4];
  transpose(v, directions);
  expect_matrix_near(directions, expected, 2e-6f);
}

TEST(SearchDirections, DependentProgressKeepsTheOldDirections) {
  float v[4][4] = {{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  const float old[4][4] = {{0, 1, 0, 0}, {1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  // No progress along the last two directions: the last two progress vectors vanish.
  const float progress[4] = {0.3f, -0.2f, 0.0f, 0.0f};
  EXPECT_FALSE(orthogonal_directions(v, progress));
  expect_matrix_near(v, old, 0.0f);
}

TEST(SearchDirections, RotatedDirectionsAreOrthonormal) {
  float v[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  const float stages[][4] = {{0.3f, -1.35f, 0.075f, 0.2f}, {-0.05f, 0.9f, 0.45f, -0.0125f}};
  for (const auto& d : stages) {
    ASSERT_TRUE(orthogonal_directions(v, d));
    expect_orthonormal_columns(v, 1e-5f);
  }
}

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_state(s); }
  void search(float (&x)[4], float (&best)[4], float& f, int32_t debug) {
    const float lower[4] = {0, 0, 0, 0};
    const float upper[4] = {0, 0, 0, 0};
    const int32_t kind[4] = {0, 0, 0, 0};
    rotation_search(s, x, lower, upper, kind, best, f, debug);
  }
  float value_at(const float (&x)[4]) {
    float value;
    objective(s, x, value);
    return value;
  }
  // Planes at 45 degrees from sigma 1 and sigma 3 in the data frame, so that the zero
  // angles are a good tensor and moving away from them costs.
  void load_planes() {
    const float h = 0.70710678f;
    const float poles[4][3] = {{h, 0, h}, {h, 0, -h}, {0, h, h}, {h, h, 0}};
    const float glides[4][3] = {{-h, 0, h}, {h, 0, h}, {0, -h, h}, {-h, h, 0}};
    const int32_t flags[4] = {1, 1, -1, -1};
    for (int i = 0; i < 4; ++i) {
      for (int k = 0; k < 3; ++k) {
        s.pole[i][k] = poles[i][k];
        s.glide[i][k] = glides[i][k];
      }
      s.twin_flag[i] = flags[i];
    }
    s.data_count = 4;
    s.twin_limit = 2;
  }
  State s;
};

TEST_F(SearchTest, EqualValuesAreFailuresAndTheTraceShowsEachStep) {
  // Without data every value is 0: no step succeeds, each is undone.
  testing::ReportCapture files;
  ASSERT_TRUE(files.open_report());
  s.iteration_limit = 2;
  float x[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float best[4] = {9, 9, 9, 9};
  float f = 7.0f;
  search(x, best, f, 1);
  for (int j = 0; j < 4; ++j) {
    EXPECT_EQ(x[j], 0.0f);
    EXPECT_EQ(best[j], 0.0f);  // the start point
  }
  EXPECT_EQ(f, 0.0f);
  EXPECT_EQ(s.eval_count, 3);
  const std::string header = "             I= 1      I= 2      I= 3      I= 4      I=";
  const std::vector<std::string> want = {
      "",
      "  K=  0            F0= 0.0000E+00",
      "",
      "",
      header,
      "",
      "     E(I)=   0.1000    0.1000    0.1000    0.1000",
      "",
      header,
      "     X(I)=   0.1000    0.0000    0.0000    0.0000",
      "           ECHEC",
      "  K=  1            F0= 0.0000E+00",
      "",
      "",
      header,
      "     X(I)=   0.0000    0.1000    0.0000    0.0000",
      "           ECHEC",
      "  K=  2            F0= 0.0000E+00",
      "",
  };
  EXPECT_EQ(files.report_lines(), want);
}

TEST_F(SearchTest, TraceOfAStageAndItsRotation) {
  // Long enough for every direction to succeed and then fail once, so that the directions
  // are rotated: the trace shows the norms of the stage's progress and the new directions.
  testing::ReportCapture files;
  ASSERT_TRUE(files.open_report());
  load_planes();
  s.iteration_limit = 15;
  float x[4] = {0.9f, -0.6f, 0.4f, 0.5f};
  float best[4];
  float f;
  search(x, best, f, 1);
  EXPECT_EQ(files.report_lines(),
            gemino_test::read_records(GEMINO_TEST_DATA "/rotation-trace.txt"));
}

TEST_F(SearchTest, OneStepAtLeast) {
  load_planes();
  for (int32_t limit : {1, 0, -5}) {
    s.iteration_limit = limit;
    float x[4] = {0.3f, 0.0f, 0.0f, 0.5f};
    float best[4];
    float f;
    search(x, best, f, 0);
    EXPECT_EQ(s.eval_count, 2) << limit;
    // The first step moves the first parameter only, by 0.1 from 0.3.
    EXPECT_EQ(x[1], 0.0f);
    EXPECT_EQ(x[2], 0.0f);
    EXPECT_EQ(x[3], 0.5f);
    EXPECT_TRUE(x[0] == 0.3f + 0.1f || x[0] == 0.3f + 0.1f - 0.1f) << x[0];
    EXPECT_EQ(f, value_at(x));
  }
}

TEST_F(SearchTest, LongSearchEndsAtItsBestPoint) {
  // Enough steps for several stages and rotations: the search returns the point of its
  // last success, where the objective is the lowest it has seen, and no worse than the
  // start.
  load_planes();
  s.iteration_limit = 400;
  float x[4] = {0.9f, -0.6f, 0.4f, 0.5f};
  const float start_value = value_at(x);
  float best[4];
  float f;
  search(x, best, f, 0);
  EXPECT_EQ(s.eval_count, 401);
  // Failed steps are undone by subtraction, which may leave a rounding of the sum.
  for (int j = 0; j < 4; ++j) EXPECT_NEAR(x[j], best[j], 1e-6f);
  EXPECT_LE(f, start_value);
  EXPECT_EQ(value_at(best), f);
}

TEST_F(SearchTest, BoundedParametersAreNotLeft) {
  load_planes();
  s.iteration_limit = 200;
  float x[4] = {0.9f, -0.6f, 0.4f, 0.5f};
  const float lower[4] = {0.0f, -1.0f, 0.0f, 0.0f};
  const float upper[4] = {1.0f, 0.0f, 1.0f, 1.0f};
  const int32_t kind[4] = {1, 1, 1, 1};
  float best[4];
  float f;
  rotation_search(s, x, lower, upper, kind, best, f, 0);
  for (int j = 0; j < 4; ++j) {
    EXPECT_GE(x[j], lower[j]);
    EXPECT_LE(x[j], upper[j]);
  }
}

}  // namespace
}  // namespace gemino
