// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/margin.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "gemino/converged.h"
#include "gemino/objective.h"

namespace gemino {

namespace {

using Point = std::array<float, 4>;
constexpr float infeasible = std::numeric_limits<float>::infinity();

// What the simplex lowers: minus the margin of a tensor that fits no worse than `ceiling`,
// infinity for any other (or for R outside [0, 1], where the axes would be renamed).
struct Cost {
  State& s;
  float ceiling;
  int32_t evaluations = 0;

  float operator()(const Point& p) {
    ++evaluations;
    if (!(p[3] >= 0.0f && p[3] <= 1.0f)) return infeasible;
    const float x[4] = {p[0], p[1], p[2], p[3]};
    float f = 0.0f;
    const float m = twin_margin(s, x, f);
    if (!(f <= ceiling) || !(m > -infeasible)) return infeasible;
    return -m;
  }
};

Point along(const Point& a, const Point& b, float t) {
  // a + t (b - a)
  Point p{};
  for (int32_t k = 0; k < 4; ++k) p[k] = a[k] + t * (b[k] - a[k]);
  return p;
}

// One simplex search (reflection 1, expansion 2, contraction and shrink 1/2) from `best`,
// whose cost is `cost_best`, until `limit` evaluations or a simplex too small to matter.
void simplex(Cost& cost, Point& best, float& cost_best, int32_t limit) {
  // First steps: 2 degrees on each angle, 0.04 on R.
  const float step[4] = {0.0349f, 0.0349f, 0.0349f, 0.04f};
  std::array<Point, 5> v{};
  std::array<float, 5> c{};
  v[0] = best;
  c[0] = cost_best;
  for (int32_t i = 0; i < 4; ++i) {
    v[i + 1] = best;
    v[i + 1][i] = best[i] + (best[i] + step[i] > 1.0f && i == 3 ? -step[i] : step[i]);
    c[i + 1] = cost(v[i + 1]);
  }
  const int32_t stop = cost.evaluations + limit;
  while (cost.evaluations < stop) {
    std::array<int32_t, 5> order = {0, 1, 2, 3, 4};
    std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) { return c[a] < c[b]; });
    const int32_t lo = order[0];
    const int32_t hi = order[4];
    const int32_t next = order[3];
    float size = 0.0f;
    for (int32_t i = 0; i < 5; ++i) {
      for (int32_t k = 0; k < 4; ++k) size = std::max(size, std::abs(v[i][k] - v[lo][k]));
    }
    if (size < 1.0E-5f) break;
    Point centroid{};
    for (int32_t i = 0; i < 5; ++i) {
      if (i == hi) continue;
      for (int32_t k = 0; k < 4; ++k) centroid[k] = centroid[k] + v[i][k] / 4.0f;
    }
    const Point reflected = along(centroid, v[hi], -1.0f);
    const float cr = cost(reflected);
    if (cr < c[lo]) {
      const Point expanded = along(centroid, v[hi], -2.0f);
      const float ce = cost(expanded);
      if (ce < cr) {
        v[hi] = expanded;
        c[hi] = ce;
      } else {
        v[hi] = reflected;
        c[hi] = cr;
      }
    } else if (cr < c[next]) {
      v[hi] = reflected;
      c[hi] = cr;
    } else {
      const Point contracted =
          cr < c[hi] ? along(centroid, reflected, 0.5f) : along(centroid, v[hi], 0.5f);
      const float cc = cost(contracted);
      if (cc < std::min(cr, c[hi])) {
        v[hi] = contracted;
        c[hi] = cc;
      } else {
        for (int32_t i = 0; i < 5; ++i) {
          if (i == lo) continue;
          v[i] = along(v[lo], v[i], 0.5f);
          c[i] = cost(v[i]);
        }
      }
    }
  }
  for (int32_t i = 0; i < 5; ++i) {
    if (c[i] < cost_best) {
      cost_best = c[i];
      best = v[i];
    }
  }
}

}  // namespace

float twin_margin(State& s, const float (&x)[4], float& f) {
  objective(s, x, f);
  const int32_t n = s.data_count;
  // The walk leaves threshold_index at the last row when it meets no threshold, so the
  // count tells: the threshold is a twinned plane's, the twin_limit-th met (the first when
  // twin_limit is 0), and rows without a twinned plane have none.
  int32_t twins = 0;
  for (int32_t l = 0; l < n; ++l) twins += s.twin_flag[s.shear_order[l] - 1] > 0 ? 1 : 0;
  if (twins == 0 || twins < s.twin_limit) return -infeasible;
  for (int32_t l = 0; l < n; ++l) {
    if (s.twin_flag[s.shear_order[l] - 1] <= 0) return s.threshold - s.shear_list[l];
  }
  return -infeasible;
}

std::optional<float> untwinned_below_threshold(const State& s) {
  for (int32_t l = s.threshold_index; l < s.data_count; ++l) {
    if (s.twin_flag[s.shear_order[l] - 1] <= 0) return s.shear_list[l];
  }
  return std::nullopt;
}

InvertedTensor widen_margin(State& s, const InvertedTensor& start, int32_t max_evaluations) {
  Point best = {start.tensor.params[0], start.tensor.params[1], start.tensor.params[2],
                start.tensor.params[3]};
  const float x0[4] = {best[0], best[1], best[2], best[3]};
  float f0 = 0.0f;
  const float m0 = twin_margin(s, x0, f0);
  if (!(m0 > -infeasible) || !(best[3] >= 0.0f && best[3] <= 1.0f)) return start;
  Cost cost{s, f0};
  float cost_best = -m0;
  // Two rounds: the second starts afresh from the best point, which frees a simplex that
  // collapsed along a ridge of the margin.
  simplex(cost, best, cost_best, max_evaluations / 2);
  simplex(cost, best, cost_best, max_evaluations - max_evaluations / 2);
  if (!(cost_best < -m0)) {
    objective(s, x0, f0);
    return start;
  }
  return score_tensor(s, best);
}

}  // namespace gemino
