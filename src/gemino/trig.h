// SPDX-License-Identifier: GPL-3.0-or-later
// Sine, cosine and their inverses of single-precision arguments, evaluated in double and
// rounded once to single precision, so that every build gives the same bits. The inverse
// functions clamp their argument to [-1, 1]: rounding can carry a cosine just past 1.
#pragma once

#include <cmath>

namespace gemino::trig {

// The value of pi of every angle of the run: 3.141593 rounded to single precision.
inline constexpr float pi = 3.141593f;

inline float sin(float x) {
  return static_cast<float>(std::sin(static_cast<double>(x)));
}
inline float cos(float x) {
  return static_cast<float>(std::cos(static_cast<double>(x)));
}
inline float atan(float x) {
  return static_cast<float>(std::atan(static_cast<double>(x)));
}

inline float clamp_unit(float x) {
  if (x > 1.0f) return 1.0f;
  if (x < -1.0f) return -1.0f;
  return x;
}
inline float asin(float x) {
  return static_cast<float>(std::asin(static_cast<double>(clamp_unit(x))));
}
inline float acos(float x) {
  return static_cast<float>(std::acos(static_cast<double>(clamp_unit(x))));
}

}  // namespace gemino::trig
