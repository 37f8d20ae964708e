// SPDX-License-Identifier: GPL-3.0-or-later
// Comparisons of small matrices (rotation matrices, search directions) element by element,
// each failure naming the element.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>

namespace test_support {

// Every element of `actual` within `tolerance` of the same element of `expected`; with a
// tolerance of 0 the elements must be equal.
template <std::size_t R, std::size_t C>
void expect_matrix_near(const float (&actual)[R][C], const float (&expected)[R][C],
                        float tolerance) {
  for (std::size_t i = 0; i < R; ++i) {
    for (std::size_t j = 0; j < C; ++j) {
      if (tolerance == 0.0f) {
        EXPECT_EQ(actual[i][j], expected[i][j]) << "[" << i << "][" << j << "]";
      } else {
        EXPECT_NEAR(actual[i][j], expected[i][j], tolerance) << "[" << i << "][" << j << "]";
      }
    }
  }
}

template <std::size_t R, std::size_t C>
void transpose(const float (&m)[R][C], float (&t)[C][R]) {
  for (std::size_t i = 0; i < R; ++i) {
    for (std::size_t j = 0; j < C; ++j) t[j][i] = m[i][j];
  }
}

// The columns of m are of unit length and at right angles to one another.
template <std::size_t N>
void expect_orthonormal_columns(const float (&m)[N][N], float tolerance) {
  for (std::size_t i = 0; i < N; ++i) {
    for (std::size_t j = 0; j < N; ++j) {
      float dot = 0.0f;
      for (std::size_t k = 0; k < N; ++k) dot += m[k][i] * m[k][j];
      EXPECT_NEAR(dot, i == j ? 1.0f : 0.0f, tolerance) << "columns " << i << ", " << j;
    }
  }
}

}  // namespace test_support
