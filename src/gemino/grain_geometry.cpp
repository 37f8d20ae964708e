// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/grain_geometry.h"

#include <cmath>

#include "gemino/trig.h"

namespace gemino {

namespace {

// The data reader's value of pi; the inversion uses its own.
constexpr float reader_pi = 3.14159f;

}  // namespace

float data_radians(int32_t degrees) {
  return (static_cast<float>(degrees) * reader_pi) / 180.0f;
}

void rotate_vector(float& x1, float& x2, float& x3, const float& a1, const float& a2,
                   const float& a3) {
  const float c1 = trig::cos(a1), s1 = trig::sin(a1);
  const float c2 = trig::cos(a2), s2 = trig::sin(a2);
  const float c3 = trig::cos(a3), s3 = trig::sin(a3);
  const float u = x1 * c1 - x2 * s1;
  const float v = x1 * s1 + x2 * c1;
  const float w = u * c2 - x3 * s2;
  x3 = u * s2 + x3 * c2;
  x1 = w * c3 - v * s3;
  x2 = w * s3 + v * c3;
}

void cross_product(const float& a1, const float& a2, const float& a3, const float& b1,
                   const float& b2, const float& b3, float& c1, float& c2, float& c3) {
  // Computed aside so that c may alias a or b.
  const float r1 = a2 * b3 - a3 * b2;
  const float r2 = a3 * b1 - a1 * b3;
  const float r3 = a1 * b2 - a2 * b1;
  c1 = r1;
  c2 = r2;
  c3 = r3;
}

void c_axis_of_record(int32_t direction, int32_t plunge, char sense_letter, int32_t in_plane_angle,
                      float (&c_axis)[3]) {
  if (sense_letter == ' ') {
    // Azimuth counted clockwise from north becomes an angle counted the other way
    // from east; the remainder keeps the sign of the dividend.
    const float d = data_radians((630 - direction) % 360);
    const float p = data_radians(plunge);
    const float cp = trig::cos(p);
    c_axis[0] = cp * trig::cos(d);
    c_axis[1] = cp * trig::sin(d);
    c_axis[2] = trig::sin(p);
    return;
  }
  const float r = data_radians(in_plane_angle % 360 + 90);
  const int32_t s = sense_letter == 'D' ? 1 : -1;
  const float p = data_radians(s * plunge);
  const float d = data_radians(direction);
  const float sr = trig::sin(r), cr = trig::cos(r);
  const float sp = trig::sin(p), cp = trig::cos(p);
  const float sd = trig::sin(d), cd = trig::cos(d);
  c_axis[0] = sr * sp * cd - cr * sd;
  c_axis[1] = cr * cd + sr * sp * sd;
  c_axis[2] = sr * cp;
}

void plane_pole(int32_t direction, int32_t plunge, char sense_letter, float (&pole)[3]) {
  const float p = data_radians(sense_letter == 'D' ? 180 - plunge : plunge);
  const float d = data_radians(direction);
  const float cp = trig::cos(p);
  pole[0] = cp * trig::cos(d);
  pole[1] = cp * trig::sin(d);
  pole[2] = trig::sin(p);
}

float c_axis_angle(float cosine) {
  return (180.0f * trig::acos(cosine)) / reader_pi;
}

void glide_toward(const float (&pole)[3], const float (&c_axis)[3], float (&glide)[3]) {
  float t[3];
  float g[3];
  cross_product(pole[0], pole[1], pole[2], c_axis[0], c_axis[1], c_axis[2], t[0], t[1], t[2]);
  cross_product(t[0], t[1], t[2], pole[0], pole[1], pole[2], g[0], g[1], g[2]);
  const float length2 = g[0] * g[0] + g[1] * g[1] + g[2] * g[2];
  if (length2 == 0.0f) {
    glide[0] = glide[1] = glide[2] = 0.0f;
    return;
  }
  const float k = std::sqrt(1.0f / length2);
  glide[0] = g[0] * k;
  glide[1] = g[1] * k;
  glide[2] = g[2] * k;
}

}  // namespace gemino
