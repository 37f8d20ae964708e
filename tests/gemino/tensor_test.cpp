// SPDX-License-Identifier: GPL-3.0-or-later
// Rotation matrix, stresses on a plane and principal axes as direction and plunge.
#include <gtest/gtest.h>

#include <cmath>

#include "gemino/state.h"
#include "gemino/tensor.h"
#include "gemino/trig.h"
#include "support/matrix.h"

namespace gemino {
namespace {

using test_support::expect_matrix_near;
using test_support::expect_orthonormal_columns;
using test_support::transpose;

constexpr float half_root2 = 0.70710678f;

class TensorTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_state(s); }
  State s;
};

TEST_F(TensorTest, ZeroAnglesGiveTheIdentity) {
  euler_matrix(s, 0.0f, 0.0f, 0.0f);
  const float identity[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  expect_matrix_near(s.rotation_matrix, identity, 0.0f);
}

TEST_F(TensorTest, ElementsSitWhereTheRotationPutsThem) {
  // A quarter turn about the third axis alone: the first principal axis is the negative
  // second data axis, the second principal axis the first data axis.
  euler_matrix(s, trig::pi / 2.0f, 0.0f, 0.0f);
  const float expected[3][3] = {{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}};
  expect_matrix_near(s.rotation_matrix, expected, 1e-6f);
  // A quarter turn about the first axis alone (second angle): axis 2 tips to the
  // negative third data axis, axis 3 to the second.
  euler_matrix(s, 0.0f, trig::pi / 2.0f, 0.0f);
  const float tipped[3][3] = {{1, 0, 0}, {0, 0, 1}, {0, -1, 0}};
  expect_matrix_near(s.rotation_matrix, tipped, 1e-6f);
}

TEST_F(TensorTest, ReversedNegatedAnglesGiveTheTranspose) {
  const float angles[][3] = {{0.3f, 1.1f, -2.0f}, {2.9f, 0.2f, 0.7f}, {-1.3f, 2.5f, 4.0f}};
  for (const auto& a : angles) {
    euler_matrix(s, a[0], a[1], a[2]);
    float m_transposed[3][3];
    transpose(s.rotation_matrix, m_transposed);
    expect_orthonormal_columns(s.rotation_matrix, 1e-6f);
    euler_matrix(s, -a[2], -a[1], -a[0]);
    expect_matrix_near(s.rotation_matrix, m_transposed, 1e-6f);
  }
}

TEST_F(TensorTest, ShearOnPlanesAtFortyFiveDegrees) {
  const float pole[3] = {half_root2, 0.0f, half_root2};
  const float glide[3] = {half_root2, 0.0f, -half_root2};
  const float reverse[3] = {-half_root2, 0.0f, half_root2};
  for (float r : {0.0f, 0.25f, 0.5f, 1.0f, 3.0f, -2.0f}) {
    EXPECT_NEAR(resolved_shear(r, pole, glide), -0.5f, 1e-6f) << r;
    EXPECT_NEAR(resolved_shear(r, pole, reverse), 0.5f, 1e-6f) << r;
  }
  const float axis1[3] = {1, 0, 0};
  const float axis3[3] = {0, 0, 1};
  EXPECT_EQ(resolved_shear(0.4f, axis1, axis3), 0.0f);
  // Between axes 1 and 2 the shear is -(1 - R) / 2: none when R = 1.
  const float pole12[3] = {half_root2, half_root2, 0.0f};
  const float glide12[3] = {half_root2, -half_root2, 0.0f};
  EXPECT_NEAR(resolved_shear(0.0f, pole12, glide12), -0.5f, 1e-6f);
  EXPECT_NEAR(resolved_shear(0.5f, pole12, glide12), -0.25f, 1e-6f);
  EXPECT_NEAR(resolved_shear(1.0f, pole12, glide12), 0.0f, 1e-6f);
}

TEST_F(TensorTest, NormalStressWeighsTheSecondAxisByR) {
  const float pole[3] = {0.6f, 0.8f, 0.0f};
  EXPECT_FLOAT_EQ(normal_stress(0.5f, pole), 0.36f + 0.5f * 0.64f);
  const float axis3[3] = {0, 0, 1};
  EXPECT_EQ(normal_stress(0.7f, axis3), 0.0f);
}

TEST_F(TensorTest, ComponentsInThePrincipalFrame) {
  euler_matrix(s, trig::pi / 2.0f, 0.0f, 0.0f);
  const float v[3] = {0.0f, -1.0f, 0.0f};  // along principal axis 1
  float c[3];
  principal_components(s, v, c);
  EXPECT_NEAR(c[0], 1.0f, 1e-6f);
  EXPECT_NEAR(c[1], 0.0f, 1e-6f);
  EXPECT_NEAR(c[2], 0.0f, 1e-6f);
}

TEST_F(TensorTest, IdentityAxesAsDirectionAndPlunge) {
  const float x[4] = {0.0f, 0.0f, 0.0f, 0.5f};
  fill_axis_matrix(s, x);
  // The third axis is turned downward.
  EXPECT_EQ(s.axis_matrix[2][2], -1.0f);
  float dir, plunge;
  axis_direction_plunge(s, 0, dir, plunge);
  EXPECT_FLOAT_EQ(dir, 90.0f);
  EXPECT_EQ(plunge, 0.0f);
  axis_direction_plunge(s, 1, dir, plunge);
  EXPECT_NEAR(dir, 0.0f, 1e-4f);  // 90 less a float right angle: a hair from 0
  EXPECT_EQ(plunge, 0.0f);
  axis_direction_plunge(s, 2, dir, plunge);
  EXPECT_EQ(dir, 0.0f);  // vertical: no azimuth
  EXPECT_FLOAT_EQ(plunge, 90.0f);
}

TEST_F(TensorTest, InclinedAxesAsDirectionAndPlunge) {
  // Sigma 1 toward 120 plunging 30, sigma 3 toward 300 plunging 60, sigma 2 horizontal
  // toward 210: the parameters (-gamma, -beta, -alpha) of such a start.
  const float x[4] = {-trig::pi / 2.0f, -trig::pi / 6.0f, -trig::pi / 3.0f, 0.5f};
  fill_axis_matrix(s, x);
  const float expected[3][2] = {{120.0f, 30.0f}, {210.0f, 0.0f}, {300.0f, 60.0f}};
  for (int j = 0; j < 3; ++j) {
    float dir, plunge;
    axis_direction_plunge(s, j, dir, plunge);
    EXPECT_NEAR(dir, expected[j][0], 0.01f) << j;
    EXPECT_NEAR(plunge, expected[j][1], 0.01f) << j;
    EXPECT_LE(s.axis_matrix[j][2], 0.0f);
  }
}

TEST_F(TensorTest, DirectionOfAnAxisOnTheSecondDataAxis) {
  // x = 0 with y != 0: the quotient is infinite and the arc tangent +-90 degrees.
  s.axis_matrix[0][0] = 0.0f;
  s.axis_matrix[0][1] = -1.0f;
  s.axis_matrix[0][2] = 0.0f;
  float dir, plunge;
  axis_direction_plunge(s, 0, dir, plunge);
  EXPECT_NEAR(dir, 180.0f, 1e-4f);
  s.axis_matrix[0][1] = 1.0f;
  axis_direction_plunge(s, 0, dir, plunge);
  EXPECT_NEAR(dir, 0.0f, 1e-4f);
  // West: x < 0 adds 180.
  s.axis_matrix[0][0] = -1.0f;
  s.axis_matrix[0][1] = 0.0f;
  axis_direction_plunge(s, 0, dir, plunge);
  EXPECT_FLOAT_EQ(dir, 270.0f);
}

}  // namespace
}  // namespace gemino
