// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/objective.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <utility>

#include "gemino/formats.h"
#include "gemino/tensor.h"
#include "gemino/units.h"
#include "recfmt/statements.h"

namespace gemino {

namespace {

// An unsigned key whose ascending order is the descending order of the values. Both
// zeros share one key, since the ranking treats them as equal; a NaN ranks last.
uint32_t descending_key(float v) {
  const uint32_t bits = std::bit_cast<uint32_t>(v + 0.0f);
  const uint32_t negative = static_cast<uint32_t>(static_cast<int32_t>(bits) >> 31);
  const uint32_t key = ~(bits ^ (negative | 0x80000000u));
  return v == v ? key : 0xFFFFFFFFu;
}

// Orders a[0..n) with one insertion pass, an entry moving down while it goes before the
// one below it (goes_before(entry, below)): quick on a list already nearly in order.
template <typename T, typename GoesBefore>
void insertion_pass(T* a, int32_t n, GoesBefore goes_before) {
  for (int32_t i = 1; i < n; ++i) {
    const T e = a[i];
    int32_t j = i;
    while (j > 0 && goes_before(e, a[j - 1])) {
      a[j] = a[j - 1];
      --j;
    }
    a[j] = e;
  }
}

// A ranking entry: the key above the row, so that the entries in ascending order are the
// values largest first and, for equal values, the rows last first.
uint64_t entry_of(float v, int32_t row) {
  return (static_cast<uint64_t>(descending_key(v)) << 32) | static_cast<uint32_t>(max_rows - row);
}
int32_t row_of(uint64_t entry) {
  return max_rows - static_cast<int32_t>(entry & 0xFFFFu);
}

// Least-significant-digit radix sort of the entries, a byte of the key at a time, for
// values crowded together. The entries go in with the rows last first and every pass is
// stable, so equal keys keep that order.
void radix_sort(const uint64_t* entry, int32_t n, uint64_t* sorted) {
  uint64_t a[max_rows];
  uint64_t b[max_rows];
  uint32_t count[4][256];
  std::memset(count, 0, sizeof count);
  for (int32_t i = 0; i < n; ++i) {
    a[i] = entry[n - 1 - i];
    const uint32_t key = static_cast<uint32_t>(a[i] >> 32);
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
  for (int32_t i = 0; i < n; ++i) sorted[i] = from[i];
}

// Sorts the entries of rows 1..n (entry[i] for row i + 1) in ascending order. The values
// of real data spread over [-0.5, 0.5]: a distribution into buckets by value, then an
// insertion sort of each small bucket, does it in about one pass. Values crowded into a
// few buckets go to the radix sort instead.
void sort_entries(const uint64_t* entry, const float* value, int32_t n, uint64_t* sorted) {
  constexpr int32_t buckets = 512;
  constexpr int32_t crowded = 24;
  uint16_t bucket[max_rows];
  uint32_t start[buckets + 1];
  std::memset(start, 0, sizeof start);
  for (int32_t i = 0; i < n; ++i) {
    // Never a later bucket for a larger value; NaN, whose key is the largest, goes last.
    const float v = value[i];
    float b = (0.5f - v) * static_cast<float>(buckets);
    b = b > 0.0f ? b : 0.0f;
    b = b < static_cast<float>(buckets - 1) ? b : static_cast<float>(buckets - 1);
    bucket[i] = v == v ? static_cast<uint16_t>(b) : static_cast<uint16_t>(buckets - 1);
    ++start[bucket[i] + 1];
  }
  for (int32_t d = 0; d < buckets; ++d) {
    if (start[d + 1] > static_cast<uint32_t>(crowded)) {
      radix_sort(entry, n, sorted);
      return;
    }
    start[d + 1] += start[d];
  }
  for (int32_t i = 0; i < n; ++i) sorted[start[bucket[i]]++] = entry[i];
  // The buckets follow one another in order, so one insertion pass over the whole list
  // moves each entry only within its own bucket.
  insertion_pass(sorted, n, [](uint64_t e, uint64_t before) { return e < before; });
}

// Fills s.shear_list with the resolved shear stress of every row, in row order.
void resolve_all(State& s, const float (&x)[4]) {
  euler_matrix(s, x[0], x[1], x[2]);
  const int32_t n = rows_in_storage(s.data_count);
  const float r = x[3];
  const auto& m = s.rotation_matrix;
  const float k1 = 2.0f - r;
  const float k2 = 2.0f * r - 1.0f;
  const float k3 = 1.0f + r;

  // Four rows at a time: each lane does exactly the operations of resolved_shear on its
  // row, in the same order, so the values are those of the one-row formula.
  using Lanes = float __attribute__((vector_size(16)));
  const Lanes m00 = {m[0][0], m[0][0], m[0][0], m[0][0]};
  const Lanes m01 = {m[0][1], m[0][1], m[0][1], m[0][1]};
  const Lanes m02 = {m[0][2], m[0][2], m[0][2], m[0][2]};
  const Lanes m10 = {m[1][0], m[1][0], m[1][0], m[1][0]};
  const Lanes m11 = {m[1][1], m[1][1], m[1][1], m[1][1]};
  const Lanes m12 = {m[1][2], m[1][2], m[1][2], m[1][2]};
  const Lanes m20 = {m[2][0], m[2][0], m[2][0], m[2][0]};
  const Lanes m21 = {m[2][1], m[2][1], m[2][1], m[2][1]};
  const Lanes m22 = {m[2][2], m[2][2], m[2][2], m[2][2]};
  const Lanes c1 = {k1, k1, k1, k1};
  const Lanes c2 = {k2, k2, k2, k2};
  const Lanes c3 = {k3, k3, k3, k3};
  const Lanes three = {3.0f, 3.0f, 3.0f, 3.0f};
  int32_t i = 0;
  for (; i + 4 <= n; i += 4) {
    const auto& p = s.pole;
    const auto& q = s.glide;
    const Lanes p1 = {p[i][0], p[i + 1][0], p[i + 2][0], p[i + 3][0]};
    const Lanes p2 = {p[i][1], p[i + 1][1], p[i + 2][1], p[i + 3][1]};
    const Lanes p3 = {p[i][2], p[i + 1][2], p[i + 2][2], p[i + 3][2]};
    const Lanes q1 = {q[i][0], q[i + 1][0], q[i + 2][0], q[i + 3][0]};
    const Lanes q2 = {q[i][1], q[i + 1][1], q[i + 2][1], q[i + 3][1]};
    const Lanes q3 = {q[i][2], q[i + 1][2], q[i + 2][2], q[i + 3][2]};
    const Lanes a1 = p1 * m00 + p2 * m10 + p3 * m20;
    const Lanes a2 = p1 * m01 + p2 * m11 + p3 * m21;
    const Lanes a3 = p1 * m02 + p2 * m12 + p3 * m22;
    const Lanes b1 = q1 * m00 + q2 * m10 + q3 * m20;
    const Lanes b2 = q1 * m01 + q2 * m11 + q3 * m21;
    const Lanes b3 = q1 * m02 + q2 * m12 + q3 * m22;
    const Lanes tau = -(c1 * a1 * b1 + c2 * a2 * b2 - c3 * a3 * b3) / three;
    for (int32_t k = 0; k < 4; ++k) s.shear_list[i + k] = tau[k];
  }
  for (; i < n; ++i) {
    float a[3], b[3];
    principal_components(s, s.pole[i], a);
    principal_components(s, s.glide[i], b);
    s.shear_list[i] = resolved_shear(r, a, b);
  }
}

// GCC 12 at -O2 and above cannot see that `value` is written before it is summed.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
// The walk of rank_planes without the ranking, for the search, which needs only the
// score: the values go into buckets by value as for the ranking; the buckets are counted
// down to the one where the walk meets its last twinned plane, and only the untwinned
// values before it are sorted, since the sum needs them in ranking order (equal values
// may come in any order, as they add the same). Values that crowd into a bucket, a value
// that is not a number, or rows beyond the storage give false: the full ranking then
// decides, as it must for them.
bool walk_to_threshold(State& s, float& f) {
  constexpr int32_t buckets = 512;
  constexpr int32_t crowded = 24;
  const int32_t n = rows_in_storage(s.data_count);
  if (n != s.data_count) return false;
  uint16_t bucket[max_rows];
  uint16_t twins[buckets];
  uint16_t others[buckets];
  std::memset(twins, 0, sizeof twins);
  std::memset(others, 0, sizeof others);
  int32_t twinned_total = 0;
  for (int32_t i = 0; i < n; ++i) {
    const float v = s.shear_list[i];
    if (v != v) return false;
    float b = (0.5f - v) * static_cast<float>(buckets);
    b = b > 0.0f ? b : 0.0f;
    b = b < static_cast<float>(buckets - 1) ? b : static_cast<float>(buckets - 1);
    bucket[i] = static_cast<uint16_t>(b);
    const bool twin = s.twin_flag[i] > 0;
    twins[bucket[i]] += twin ? 1 : 0;
    others[bucket[i]] += twin ? 0 : 1;
    twinned_total += twin ? 1 : 0;
  }

  // The walk ends at the k-th twinned plane of the ranking, if there are k.
  const int32_t k = s.twin_limit > 1 ? s.twin_limit : 1;
  int32_t stop_bucket = buckets;
  int32_t needed = 0;  // twinned planes of the stop bucket the walk meets
  uint16_t start[buckets];
  int32_t before_twinned = 0;
  int32_t before_untwinned = 0;
  for (int32_t b = 0; b < buckets; ++b) {
    if (twins[b] + others[b] > crowded) return false;
    start[b] = static_cast<uint16_t>(before_untwinned);
    if (twinned_total >= k && before_twinned + twins[b] >= k) {
      stop_bucket = b;
      needed = k - before_twinned;
      break;
    }
    before_twinned += twins[b];
    before_untwinned += others[b];
  }

  float value[max_rows];
  uint64_t last[crowded];
  int32_t in_last = 0;
  for (int32_t i = 0; i < n; ++i) {
    const int32_t b = bucket[i];
    if (b < stop_bucket) {
      if (s.twin_flag[i] <= 0) value[start[b]++] = s.shear_list[i];
    } else if (b == stop_bucket) {
      last[in_last++] = entry_of(s.shear_list[i], i + 1);
    }
  }
  int32_t m = before_untwinned;
  // The buckets follow one another, so one insertion pass orders the whole list.
  insertion_pass(value, m, [](float e, float before) { return before < e; });
  insertion_pass(last, in_last, [](uint64_t e, uint64_t before) { return e < before; });
  bool found = false;
  for (int32_t i = 0; i < in_last && !found; ++i) {
    const int32_t row = row_of(last[i]);
    if (s.twin_flag[row - 1] > 0) {
      if (--needed == 0) {
        s.threshold = s.shear_list[row - 1];
        found = true;
      }
    } else {
      value[m++] = s.shear_list[row - 1];
    }
  }
  float sum = 0.0f;
  for (int32_t i = 0; i < m; ++i) sum = sum + value[i];
  f = sum - s.threshold * static_cast<float>(m);
  s.threshold_index = found ? k + m : n;
  return true;
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

}  // namespace

void keep_ranking(State& s) {
  const int32_t n = rows_in_storage(s.threshold_index);
  for (int32_t i = 0; i < n; ++i) s.best_index_list[i] = s.shear_order[i];
}

void objective(State& s, const float (&x)[4], float& f) {
  resolve_all(s, x);
  rank_planes(s, f);
}

void objective_score(State& s, const float (&x)[4], float& f) {
  resolve_all(s, x);
  score_planes(s, f);
}

void score_planes(State& s, float& f) {
  if (!walk_to_threshold(s, f)) rank_planes(s, f);
}

void rank_planes(State& s, float& f) {
  const int32_t n = rows_in_storage(s.data_count);

  // Ranking. The ten bins of the exchange sort cover consecutive ranges of value, so
  // their concatenation is the whole list sorted by value, largest first; within a bin
  // the exchange also moves a later row before an earlier one of equal value. Sorting
  // the entries (value, then row, both descending) gives that same order.
  float value[max_rows];
  uint64_t entry[max_rows];
  for (int32_t i = 0; i < n; ++i) {
    value[i] = s.shear_list[i];
    entry[i] = entry_of(value[i], i + 1);
  }
  uint64_t sorted[max_rows];
  sort_entries(entry, value, n, sorted);
  for (int32_t l = 0; l < n; ++l) {
    const int32_t row = row_of(sorted[l]);
    s.shear_order[l] = row;
    s.shear_list[l] = value[row - 1];
  }
  // Every row in use has been placed; a row count beyond the storage could not be.
  if (n != s.data_count) recfmt::write(report_unit, formats::bad_ranking);

  // Walk down the ranking until `twin_limit` twinned planes have been met.
  float sum = 0.0f;
  int32_t untwinned = 0;
  int32_t twinned = 0;
  int32_t l = 1;
  for (; l <= n; ++l) {
    const int32_t row = s.shear_order[l - 1];
    const uint32_t twin = s.twin_flag[row - 1] > 0 ? 1u : 0u;
    // The sum starts at +0 and so is never -0: adding +0 for a twinned plane leaves it
    // as it is. Masking the bits of the value to +0 (and counting with 0 and 1) spares
    // branches that the data would make unpredictable.
    const uint32_t keep = twin - 1u;  // all ones for an untwinned plane
    sum = sum + std::bit_cast<float>(std::bit_cast<uint32_t>(s.shear_list[l - 1]) & keep);
    untwinned += static_cast<int32_t>(1u - twin);
    twinned += static_cast<int32_t>(twin);
    if ((twin & static_cast<uint32_t>(twinned >= s.twin_limit)) != 0) {
      s.threshold = s.shear_list[l - 1];
      break;
    }
  }
  f = sum - s.threshold * static_cast<float>(untwinned);
  s.threshold_index = l > n ? n : l;
}

}  // namespace gemino
