// SPDX-License-Identifier: GPL-3.0-or-later
// The random generator, the starting candidates of each start mode, and the renaming of
// principal axes that brings R into [0, 1].
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "gemino/start_points.h"
#include "gemino/state.h"
#include "gemino/tensor.h"
#include "gemino/trig.h"
#include "report_capture.h"
#include "support/matrix.h"

namespace gemino {
namespace {

using test_support::expect_matrix_near;

TEST(RandomGenerator, StepsOfTheGenerator) {
  struct Case {
    int32_t ix, iy;
    float u;
  };
  const Case cases[] = {
      {0, 0, 0.0f},
      {1, 65539, std::ldexp(65539.0f, -31)},
      // 32768 * 65539 = 2^31 + 98304 wraps to -2147385344, then + 2147433648.
      {32768, 48304, std::ldexp(48304.0f, -31)},
      // -65539 + 2147433648 = 2147368109, which rounds to 2147368064 as a float.
      {-1, 2147368109, std::ldexp(2147368064.0f, -31)},
      // -2^31 times an odd number is -2^31 again; the correction leaves it negative.
      {INT32_MIN, -50000, std::ldexp(-50000.0f, -31)},
  };
  for (const auto& c : cases) {
    int32_t iy = -7;
    float u = -7.0f;
    next_random(c.ix, iy, u);
    EXPECT_EQ(iy, c.iy) << c.ix;
    EXPECT_EQ(u, c.u) << c.ix;
  }
  EXPECT_EQ(4.656613E-10f, std::ldexp(1.0f, -31));
}

TEST(RandomGenerator, ScaledDrawsAdvanceTheSeed) {
  int32_t seed = 0;
  float v = 1.0f;
  for (int i = 0; i < 3; ++i) {
    random_scaled(seed, v, 3.141593f);
    EXPECT_EQ(seed, 0);
    EXPECT_EQ(v, 0.0f);
  }
  seed = 1;
  random_scaled(seed, v, 2.0f);
  EXPECT_EQ(seed, 65539);
  EXPECT_EQ(v, 2.0f * std::ldexp(65539.0f, -31));
  random_scaled(seed, v, 1.0f);
  // 65539 * 65539 = 4295360521 wraps to 393225.
  EXPECT_EQ(seed, 393225);
}

class RelabelTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_state(s); }
  // Fills axis_matrix for the tensor of the starting angles (alpha, beta, gamma).
  void axes_of(float alpha, float beta, float gamma, float (&rows)[3][3]) {
    const float x[4] = {-gamma, -beta, -alpha, 0.5f};
    fill_axis_matrix(s, x);
    for (int i = 0; i < 3; ++i) {
      for (int k = 0; k < 3; ++k) rows[i][k] = s.axis_matrix[i][k];
    }
  }
  State s;
};

TEST_F(RelabelTest, RatioInsideTheRangeChangesNothing) {
  for (float r : {0.0f, 1.0f, 0.4f}) {
    float rows[3][3];
    axes_of(0.4f, 1.0f, 2.0f, rows);
    float alpha = 0.4f, beta = 1.0f, gamma = 2.0f, rr = r;
    relabel_axes(s, alpha, beta, gamma, rr);
    EXPECT_EQ(rr, r);
    EXPECT_EQ(alpha, 0.4f);
    EXPECT_EQ(beta, 1.0f);
    EXPECT_EQ(gamma, 2.0f);
    expect_matrix_near(s.axis_matrix, rows, 0.0f);
  }
}

// After the renaming, the new angles must describe the exchanged axes (each up to its
// sense) and the new R must be the ratio of the same stresses under the new names.
TEST_F(RelabelTest, NewAnglesDescribeTheExchangedAxes) {
  struct Case {
    float r, new_r;
    int swapped_a, swapped_b;
  };
  const Case cases[] = {
      {2.0f, 0.5f, 0, 1}, {-1.0f, 0.5f, 1, 2}, {4.0f, 0.25f, 0, 1}, {-3.0f, 0.75f, 1, 2}};
  const float starts[][3] = {
      {0.0f, 0.0f, 0.0f}, {0.4f, 1.0f, 2.0f}, {2.5f, 0.3f, 0.9f}, {1.2f, 2.2f, 3.0f}};
  for (const auto& c : cases) {
    for (const auto& a : starts) {
      float before[3][3];
      axes_of(a[0], a[1], a[2], before);
      float alpha = a[0], beta = a[1], gamma = a[2], r = c.r;
      relabel_axes(s, alpha, beta, gamma, r);
      EXPECT_EQ(r, c.new_r);
      float expected[3][3];
      for (int i = 0; i < 3; ++i) {
        int from = i;
        if (i == c.swapped_a) from = c.swapped_b;
        if (i == c.swapped_b) from = c.swapped_a;
        for (int k = 0; k < 3; ++k) expected[i][k] = before[from][k];
      }
      expect_matrix_near(s.axis_matrix, expected, 0.0f);
      float after[3][3];
      axes_of(alpha, beta, gamma, after);
      for (int i = 0; i < 3; ++i) {
        const float dot = after[i][0] * expected[i][0] + after[i][1] * expected[i][1] +
                          after[i][2] * expected[i][2];
        EXPECT_NEAR(std::fabs(dot), 1.0f, 1e-5f) << "r " << c.r << " axis " << i + 1;
      }
    }
  }
}

TEST_F(RelabelTest, NegativeRatioWithTheSecondAxisVertical) {
  // Sigma 2 vertical: its horizontal part is too short to orient the rotation, and the
  // angle comes from sigma 1 alone.
  s.axis_matrix[0][0] = 0.6f;
  s.axis_matrix[0][1] = 0.8f;
  s.axis_matrix[0][2] = 0.0f;
  s.axis_matrix[1][0] = 0.0f;
  s.axis_matrix[1][1] = 0.0f;
  s.axis_matrix[1][2] = -1.0f;
  float alpha = 9.0f, beta = 9.0f, gamma = 9.0f, r = -1.0f;
  relabel_axes(s, alpha, beta, gamma, r);
  EXPECT_EQ(gamma, 0.0f);
  EXPECT_EQ(beta, 0.0f);
  EXPECT_EQ(alpha, static_cast<float>(std::acos(static_cast<double>(0.6f))));
  EXPECT_EQ(r, 0.5f);
  EXPECT_EQ(s.axis_matrix[2][2], -1.0f);
}

}  // namespace
}  // namespace gemino

namespace gemino {
namespace {

using testing::ReportCapture;

const std::string stars_line =
    "                   *******************************************************************";

class ChooseStartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_state(s);
    ASSERT_TRUE(files.open_report());
  }
  void start(int32_t mode, int32_t seed, const std::string& records) {
    s.start_mode = mode;
    s.seed = seed;
    ASSERT_TRUE(files.open_parameters(records));
  }
  void trial(int32_t k) { choose_start(s, k, alpha, beta, gamma, r); }

  State s;
  ReportCapture files;
  float alpha = 0.0f, beta = 0.0f, gamma = 0.0f, r = 0.0f;
};

TEST_F(ChooseStartTest, DerivedAngleConstants) {
  EXPECT_EQ(trig::pi / 180.0f, 0.017453294f);
  EXPECT_EQ(trig::pi / 2.0f, 1.5707965f);
  EXPECT_EQ(2.0f * trig::pi, 6.283186f);
}

TEST_F(ChooseStartTest, RandomModeFromSeedZeroStaysAtZero) {
  start(1, 0, "");
  alpha = beta = gamma = r = 9.0f;
  for (int32_t k = 1; k <= 3; ++k) {
    trial(k);
    EXPECT_EQ(alpha, 0.0f);
    EXPECT_EQ(beta, 0.0f);
    EXPECT_EQ(gamma, 0.0f);
    EXPECT_EQ(r, 0.0f);
    EXPECT_EQ(s.seed, 0);
  }
  // No record is read; the box is only its closing line, written once.
  EXPECT_EQ(files.report_lines(), (std::vector<std::string>{stars_line, "", ""}));
}

TEST_F(ChooseStartTest, RandomModeDrawsGammaBetaAlphaThenR) {
  start(1, 1, "");
  trial(1);
  // Seeds 1 -> 65539 -> 393225 -> 1769499 -> 7077969.
  EXPECT_EQ(gamma, 3.141593f * std::ldexp(65539.0f, -31));
  EXPECT_EQ(beta, 3.141593f * std::ldexp(393225.0f, -31));
  EXPECT_EQ(alpha, 3.141593f * std::ldexp(1769499.0f, -31));
  EXPECT_EQ(r, std::ldexp(7077969.0f, -31));
  EXPECT_EQ(s.seed, 7077969);
}

TEST_F(ChooseStartTest, SigmaThreeGivenFoldsTheRotation) {
  start(3, 0, "10 20 90 0 0.75\n");
  gamma = 0.4f;
  trial(1);
  // t3 = 0: alpha = -pi/2 + 2 pi = 3 pi / 2, folded back by pi.
  EXPECT_NEAR(alpha, 1.5707964f, 1e-6f);
  EXPECT_EQ(beta, 3.141593f - 1.5707965f);
  EXPECT_EQ(gamma, 3.141593f);  // pi less a random angle of 0
  EXPECT_EQ(r, 0.0f);           // drawn, not the 0.75 of the record
  const std::vector<std::string> want = {
      "                       PARAMETRES CHOISIS,  SIGMA 1   DIR= 10  PEND=20               *",
      "                   *    SIGMA 3  DIR= 90  PEND= 0   R= 0.7500                        *",
      stars_line, "", ""};
  // A later trial draws a new rotation about the same axis and writes nothing.
  s.seed = 1;
  trial(2);
  EXPECT_NEAR(alpha, 1.5707964f, 1e-6f);
  EXPECT_EQ(beta, 3.141593f - 1.5707965f);
  EXPECT_EQ(gamma, 3.141593f - 3.141593f * std::ldexp(65539.0f, -31));
  EXPECT_EQ(files.report_lines(), want);
}

TEST_F(ChooseStartTest, BothAxesGiven) {
  // Sigma 1 toward 120 plunging 30, sigma 3 toward 300 plunging 60.
  start(4, 1, "120 30 300 60 0.5\n");
  trial(1);
  EXPECT_NEAR(alpha, 3.141593f / 3.0f, 2e-6f);
  EXPECT_NEAR(beta, 3.141593f / 6.0f, 2e-6f);
  EXPECT_NEAR(gamma, 3.141593f / 2.0f, 2e-6f);
  EXPECT_EQ(r, std::ldexp(65539.0f, -31));
  const float first[3] = {alpha, beta, gamma};
  trial(2);  // same angles, a new R
  EXPECT_EQ(alpha, first[0]);
  EXPECT_EQ(beta, first[1]);
  EXPECT_EQ(gamma, first[2]);
  EXPECT_EQ(r, std::ldexp(393225.0f, -31));
  EXPECT_EQ(files.report_lines().size(), 5u);
}

TEST_F(ChooseStartTest, DirectionsOfAnySizeTurnIntoAngles) {
  // 450 - d would overflow 32 bits; its remainder by 360 is still the one of the sum:
  // 450 + 2147483647 = 2147484097 = 5965233 x 360 + 217, and one more for -2^31.
  start(4, 0, "-2147483647 0 -2147483648 0 0.5\n");
  trial(1);
  EXPECT_EQ(s.start_t1, 217.0f * 0.017453294f);
  EXPECT_EQ(s.start_t3, 218.0f * 0.017453294f);
  // Large positive directions keep the sign of the difference: 450 - 2147483647 =
  // -(5965231 x 360 + 37).
  start(5, 0, "2147483647 0 810 0 0.5\n");
  trial(1);
  EXPECT_EQ(s.start_t1, -37.0f * 0.017453294f);
  EXPECT_EQ(s.start_t3, 0.0f);
}

TEST_F(ChooseStartTest, FixedModeKeepsTheRecordRatio) {
  // Sigma 3 vertical: sigma 1 alone sets the rotation.
  start(5, 1, "0 0 45 90 0.25\n");
  trial(1);
  EXPECT_EQ(alpha, 90.0f * 0.017453294f);
  EXPECT_EQ(beta, 0.0f);
  EXPECT_EQ(gamma, 0.0f);
  EXPECT_EQ(r, 0.25f);
  EXPECT_EQ(s.seed, 1);
  // Later trials read no record (there is none left) and change nothing.
  for (int32_t k = 2; k <= 4; ++k) {
    alpha = beta = gamma = r = 5.0f;
    trial(k);
    EXPECT_EQ(alpha, 5.0f);
    EXPECT_EQ(r, 5.0f);
  }
  EXPECT_EQ(files.report_lines().size(), 5u);
}

TEST_F(ChooseStartTest, SigmaOneGivenKeepsItsDirection) {
  start(2, 12345, "120 30 0 0 0.5\n");
  for (int32_t k = 1; k <= 5; ++k) {
    trial(k);
    const float x[4] = {-gamma, -beta, -alpha, r};
    fill_axis_matrix(s, x);
    float dir, plunge;
    axis_direction_plunge(s, 0, dir, plunge);
    EXPECT_NEAR(dir, 120.0f, 0.01f) << k;
    EXPECT_NEAR(plunge, 30.0f, 0.01f) << k;
    EXPECT_GE(r, 0.0f);
    EXPECT_LE(r, 1.0f);
    EXPECT_LT(alpha, 3.141593f);
  }
  EXPECT_EQ(files.report_lines().size(), 5u);
}

TEST_F(ChooseStartTest, ModesWithoutAnglesTakeROnly) {
  // Mode 6: one record, the angles as the caller holds them.
  start(6, 1, "1 2 3 4 0.125\n");
  alpha = 0.1f, beta = 0.2f, gamma = 0.3f;
  trial(1);
  trial(2);
  EXPECT_EQ(alpha, 0.1f);
  EXPECT_EQ(beta, 0.2f);
  EXPECT_EQ(gamma, 0.3f);
  EXPECT_EQ(r, 0.125f);
  EXPECT_EQ(files.report_lines().size(), 5u);
}

TEST_F(ChooseStartTest, OtherModesReadARecordAtEveryTrial) {
  start(9, 1, "1 2 3 4 0.125\n5 6 7 8 0.5\n");
  trial(1);
  EXPECT_EQ(r, 0.125f);
  trial(2);
  EXPECT_EQ(r, 0.5f);
  EXPECT_EQ(s.seed, 1);
  const auto lines = files.report_lines();
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(
      lines[5],
      "                       PARAMETRES CHOISIS,  SIGMA 1   DIR=  5  PEND= 6               *");
}

}  // namespace
}  // namespace gemino
