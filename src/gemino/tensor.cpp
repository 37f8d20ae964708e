// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/tensor.h"

#include <cmath>

#include "gemino/trig.h"

namespace gemino {

void euler_matrix(State& s, float a1, float a2, float a3) {
  const float c1 = trig::cos(a1), s1 = trig::sin(a1);
  const float c2 = trig::cos(a2), s2 = trig::sin(a2);
  const float c3 = trig::cos(a3), s3 = trig::sin(a3);
  auto& m = s.rotation_matrix;
  m[0][0] = c1 * c3 - s1 * s3 * c2;
  m[1][0] = -(s1 * c3 * c2 + c1 * s3);
  m[2][0] = s1 * s2;
  m[0][1] = c1 * s3 * c2 + s1 * c3;
  m[1][1] = c1 * c3 * c2 - s1 * s3;
  m[2][1] = -(c1 * s2);
  m[0][2] = s2 * s3;
  m[1][2] = s2 * c3;
  m[2][2] = c2;
}

void principal_components(const State& s, const float (&v)[3], float (&c)[3]) {
  const auto& m = s.rotation_matrix;
  for (int j = 0; j < 3; ++j) c[j] = v[0] * m[0][j] + v[1] * m[1][j] + v[2] * m[2][j];
}

float resolved_shear(float r, const float (&a)[3], const float (&b)[3]) {
  const float sum =
      (2.0f - r) * a[0] * b[0] + (2.0f * r - 1.0f) * a[1] * b[1] - (1.0f + r) * a[2] * b[2];
  return -sum / 3.0f;
}

float normal_stress(float r, const float (&a)[3]) {
  return a[0] * a[0] + r * (a[1] * a[1]);
}

void fill_axis_matrix(State& s, const float (&x)[4]) {
  // The matrix of the negated angles in reverse order is the transpose: its rows are
  // the principal axes.
  euler_matrix(s, -x[2], -x[1], -x[0]);
  for (int j = 0; j < 3; ++j) {
    for (int k = 0; k < 3; ++k) s.axis_matrix[j][k] = s.rotation_matrix[j][k];
    if (s.axis_matrix[j][2] > 0.0f) {
      for (int k = 0; k < 3; ++k) s.axis_matrix[j][k] = -s.axis_matrix[j][k];
    }
  }
}

void axis_direction_plunge(const State& s, int32_t j, float& direction, float& plunge) {
  const float x = s.axis_matrix[j][0];
  const float y = s.axis_matrix[j][1];
  const float z = s.axis_matrix[j][2];
  plunge = 180.0f * trig::asin(z) / -trig::pi;
  if (x == 0.0f && y == 0.0f) {
    direction = 0.0f;  // a vertical axis has no azimuth; print it as north
    return;
  }
  direction = 90.0f - trig::atan(y / x) * 180.0f / trig::pi;
  if (x < 0.0f) direction = direction + 180.0f;
}

}  // namespace gemino
