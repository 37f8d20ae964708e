#include "gemino/objective.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "gemino/tensor.h"
#include "recfmt/statements.h"

namespace gemino {

namespace {

const recfmt::Format fmt_0010("(T70,'MAUVAIS RANGEMENT')");

int32_t rows_in_use(const State& s) {
  if (s.data_count < 0) return 0;
  return s.data_count > max_rows ? max_rows : s.data_count;
}

// An unsigned key whose ascending order is the descending order of the values. Both
// zeros share one key, since the ranking treats them as equal; a NaN ranks last.
uint32_t descending_key(float v) {
  if (v != v) return 0xFFFFFFFFu;
  const uint32_t bits = std::bit_cast<uint32_t>(v + 0.0f);
  const uint32_t ascending = (bits & 0x80000000u) != 0 ? ~bits : (bits | 0x80000000u);
  return ~ascending;
}

}  // namespace

void objective(State& s, const float (&x)[4], float& f) {
  euler_matrix(s, x[0], x[1], x[2]);
  const int32_t n = rows_in_use(s);
  const float r = x[3];
  const auto& m = s.rotation_matrix;
  const float m00 = m[0][0], m01 = m[0][1], m02 = m[0][2];
  const float m10 = m[1][0], m11 = m[1][1], m12 = m[1][2];
  const float m20 = m[2][0], m21 = m[2][1], m22 = m[2][2];
  const float k1 = 2.0f - r;
  const float k2 = 2.0f * r - 1.0f;
  const float k3 = 1.0f + r;
  for (int32_t i = 0; i < n; ++i) {
    const float p1 = s.pole[i][0], p2 = s.pole[i][1], p3 = s.pole[i][2];
    const float q1 = s.glide[i][0], q2 = s.glide[i][1], q3 = s.glide[i][2];
    const float a1 = p1 * m00 + p2 * m10 + p3 * m20;
    const float a2 = p1 * m01 + p2 * m11 + p3 * m21;
    const float a3 = p1 * m02 + p2 * m12 + p3 * m22;
    const float b1 = q1 * m00 + q2 * m10 + q3 * m20;
    const float b2 = q1 * m01 + q2 * m11 + q3 * m21;
    const float b3 = q1 * m02 + q2 * m12 + q3 * m22;
    // Same operations, in the same order, as resolved_shear.
    s.shear_list[i] = -(k1 * a1 * b1 + k2 * a2 * b2 - k3 * a3 * b3) / 3.0f;
  }
  rank_planes(s, f);
}

void rank_planes(State& s, float& f) {
  const int32_t n = rows_in_use(s);

  // Ranking. The ten bins of the exchange sort cover consecutive ranges of value, so
  // their concatenation is the whole list sorted by value, largest first; within a bin
  // the exchange also moves a later row before an earlier one of equal value. A stable
  // radix sort on the value keys, fed the rows last to first, gives that same order in
  // a few passes over the data.
  float value[max_rows];
  uint64_t a[max_rows];
  uint64_t b[max_rows];
  uint32_t count[4][256];
  std::memset(count, 0, sizeof count);
  for (int32_t i = 0; i < n; ++i) {
    const int32_t row = n - i;  // 1-based, last row first
    value[row - 1] = s.shear_list[row - 1];
    const uint32_t key = descending_key(value[row - 1]);
    a[i] = (static_cast<uint64_t>(key) << 32) | static_cast<uint32_t>(row);
    for (int p = 0; p < 4; ++p) ++count[p][(key >> (8 * p)) & 0xFFu];
  }
  uint64_t* from = a;
  uint64_t* to = b;
  for (int p = 0; p < 4 && n > 0; ++p) {
    const int shift = 32 + 8 * p;
    if (count[p][(from[0] >> shift) & 0xFFu] == static_cast<uint32_t>(n)) continue;
    uint32_t start[256];
    uint32_t total = 0;
    for (int d = 0; d < 256; ++d) {
      start[d] = total;
      total += count[p][d];
    }
    for (int32_t i = 0; i < n; ++i) to[start[(from[i] >> shift) & 0xFFu]++] = from[i];
    std::swap(from, to);
  }
  for (int32_t l = 0; l < n; ++l) {
    const int32_t row = static_cast<int32_t>(from[l] & 0xFFFFFFFFu);
    s.shear_order[l] = row;
    s.shear_list[l] = value[row - 1];
  }
  // Every row in use has been placed; a row count beyond the storage could not be.
  if (n != s.data_count) recfmt::write(8, fmt_0010);

  // Walk down the ranking until `twin_limit` twinned planes have been met.
  float sum = 0.0f;
  int32_t untwinned = 0;
  int32_t twinned = 0;
  int32_t l = 1;
  for (; l <= n; ++l) {
    const int32_t row = s.shear_order[l - 1];
    if (s.twin_flag[row - 1] <= 0) {
      sum = sum + s.shear_list[l - 1];
      ++untwinned;
    } else {
      ++twinned;
      if (twinned >= s.twin_limit) {
        s.threshold = s.shear_list[l - 1];
        break;
      }
    }
  }
  f = sum - s.threshold * static_cast<float>(untwinned);
  s.threshold_index = l > n ? n : l;
}

}  // namespace gemino
