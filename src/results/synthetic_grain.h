// SPDX-License-Identifier: GPL-3.0-or-later
// The e-planes of a grain made up for a synthetic data set, and the row a measurement of
// one gives: what the generators of data from known tensors share.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>

#include "gemino/invert.h"
#include "results/vector3.h"

namespace results::vector3 {

struct EPlane {
  Vec pole;
  Vec glide;
};

// The e-plane turned `turn` (radians) about the c-axis c, a and b across c: its pole
// e_angle from c, its glide within the plane toward c.
inline EPlane e_plane(const Vec& c, const Vec& a, const Vec& b, double turn, double e_angle) {
  const Vec around = combine(std::cos(turn), a, std::sin(turn), b);
  const Vec n = unit(combine(std::cos(e_angle), c, std::sin(e_angle), around));
  return {n, unit(combine(1.0, c, -dot(c, n), n))};
}

// The row of a plane whose pole was seen as n_seen on a grain whose c-axis was seen as
// c_seen: the glide derived from them as the data reader does, toward the c-axis.
inline gemino::PlaneRow measured_row(const Vec& n_seen, const Vec& c_seen, int32_t data_number,
                                     bool twinned) {
  Vec toward = c_seen;
  if (dot(toward, n_seen) < 0.0) toward = combine(-1.0, toward, 0.0, toward);
  const Vec g_seen = unit(combine(1.0, toward, -dot(toward, n_seen), n_seen));
  gemino::PlaneRow row{};
  for (std::size_t k = 0; k < 3; ++k) {
    row.pole[k] = static_cast<float>(n_seen[k]);
    row.glide[k] = static_cast<float>(g_seen[k]);
  }
  row.data_number = data_number;
  row.twin_flag = twinned ? 1 : -1;
  return row;
}

}  // namespace results::vector3
