// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/optimiser.h"

#include <cmath>

#include "gemino/formats.h"
#include "gemino/objective.h"
#include "gemino/units.h"
#include "recfmt/statements.h"

namespace gemino {

namespace {

constexpr int32_t nv = max_params;

// The header list 1 .. NV after a header format.
void write_header(const recfmt::Format& format) {
  recfmt::write(report_unit, format, {1, 2, 3, 4});
}

void write_vector(const recfmt::Format& format, const float (&v)[nv]) {
  recfmt::write(report_unit, format, {v[0], v[1], v[2], v[3]});
}

float column_length(const float (&a)[nv][nv], int32_t col) {
  float sum = 0.0f;
  for (int32_t k = 0; k < nv; ++k) sum = sum + a[k][col] * a[k][col];
  return std::sqrt(sum);
}

bool within_bounds(const float (&x)[nv], const float (&lower)[nv], const float (&upper)[nv],
                   const int32_t (&kind)[nv]) {
  for (int32_t j = 0; j < nv; ++j) {
    if (kind[j] != 0 && !(x[j] >= lower[j] && x[j] <= upper[j])) return false;
  }
  return true;
}

// Progress vectors of a stage: a[k][i] is component k of the sum over J = i .. NV of
// d(J) times direction J.
void progress_vectors(const float (&v)[nv][nv], const float (&d)[nv], float (&a)[nv][nv]) {
  for (int32_t i = 0; i < nv; ++i) {
    for (int32_t k = 0; k < nv; ++k) {
      float sum = 0.0f;
      for (int32_t j = i; j < nv; ++j) sum = sum + d[j] * v[k][j];
      a[k][i] = sum;
    }
  }
}

// Kept out of line: only the trace calls it, and inlined into the search it led GCC's
// optimiser to warn that v (fully set up front) might be used uninitialised.
[[gnu::noinline]] void write_progress_norms(const float (&v)[nv][nv], const float (&d)[nv]) {
  float a[nv][nv];
  progress_vectors(v, d, a);
  const float alfa1 = column_length(a, 0);
  const float ratio = column_length(a, 1) / column_length(a, 2);
  recfmt::write(report_unit, formats::trace_progress, {alfa1, ratio});
}

void write_directions(const float (&v)[nv][nv]) {
  write_header(formats::trace_directions_header);
  for (int32_t j = 0; j < nv; ++j) {
    recfmt::write_list(report_unit, {"test test"});
    recfmt::write(report_unit, formats::trace_direction,
                  {j + 1, v[0][j], v[1][j], v[2][j], v[3][j]});
  }
}

}  // namespace

bool orthogonal_directions(float (&v)[4][4], const float (&progress)[4]) {
  float a[nv][nv];
  progress_vectors(v, progress, a);
  // Gram-Schmidt, built aside: each new direction is its progress vector less its
  // projections on the new directions before it.
  float w[nv][nv];
  for (int32_t i = 0; i < nv; ++i) {
    float c[nv];
    for (int32_t j = 0; j < i; ++j) {
      float dot = 0.0f;
      for (int32_t k = 0; k < nv; ++k) dot = dot + a[k][i] * w[k][j];
      c[j] = dot;
    }
    float b[nv];
    for (int32_t k = 0; k < nv; ++k) {
      float sum = 0.0f;
      for (int32_t j = 0; j < i; ++j) sum = sum + c[j] * w[k][j];
      b[k] = a[k][i] - sum;
    }
    const float length = std::sqrt(b[0] * b[0] + b[1] * b[1] + b[2] * b[2] + b[3] * b[3]);
    if (length == 0.0f) return false;
    for (int32_t k = 0; k < nv; ++k) w[k][i] = b[k] / length;
  }
  for (int32_t k = 0; k < nv; ++k) {
    for (int32_t i = 0; i < nv; ++i) v[k][i] = w[k][i];
  }
  return true;
}

void rotation_search(State& s, float (&x)[4], const float (&lower)[4], const float (&upper)[4],
                     const int32_t (&kind)[4], float (&best_point)[4], float& f, int32_t debug_flag,
                     const StepHook& on_step) {
  const bool tracing = debug_flag == 1;
  for (int32_t j = 0; j < nv; ++j) best_point[j] = x[j];

  s.eval_count = 0;
  float f0;
  objective_score(s, x, f0);
  if (tracing) recfmt::write(report_unit, formats::trace_start, {s.eval_count, f0});

  float v[nv][nv] = {};  // column i is search direction i
  for (int32_t i = 0; i < nv; ++i) v[i][i] = 1.0f;
  float e[nv];   // signed length of the next step along each direction
  float st[nv];  // 2: no success yet in this stage, 1: a success, 0: a success then a failure
  float d[nv];   // progress of the stage along each direction

  for (;;) {  // stage
    for (int32_t i = 0; i < nv; ++i) {
      e[i] = 0.1f;
      st[i] = 2.0f;
      d[i] = 0.0f;
    }
    bool rotate = false;
    while (!rotate) {  // cycle over the directions
      if (tracing) {
        write_header(formats::trace_index_header);
        write_vector(formats::trace_steps, e);
      }
      for (int32_t l = 0; l < nv && !rotate; ++l) {
        ++s.eval_count;
        for (int32_t j = 0; j < nv; ++j) x[j] = x[j] + e[l] * v[j][l];
        if (tracing) {
          write_header(formats::trace_index_header);
          write_vector(formats::trace_point, x);
        }
        float trial = f0;
        const bool inside = within_bounds(x, lower, upper, kind);
        if (inside) objective_score(s, x, trial);
        if (inside && trial < f0) {
          d[l] = d[l] + e[l];
          e[l] = 3.0f * e[l];
          f0 = trial;
          for (int32_t j = 0; j < nv; ++j) best_point[j] = x[j];
          if (tracing) recfmt::write(report_unit, formats::trace_step, {s.eval_count, trial});
          if (st[l] > 1.5f) st[l] = 1.0f;
        } else {
          if (tracing) {
            recfmt::write(report_unit, formats::trace_failure);
            recfmt::write(report_unit, formats::trace_step, {s.eval_count, trial});
          }
          for (int32_t j = 0; j < nv; ++j) x[j] = x[j] - e[l] * v[j][l];
          e[l] = -0.5f * e[l];
          if (st[l] < 1.5f) st[l] = 0.0f;
        }

        if (on_step) on_step(s.eval_count, s.iteration_limit);
        if (s.eval_count >= s.iteration_limit) {
          ++s.eval_count;
          objective(s, x, f);
          return;
        }
        rotate = true;
        for (int32_t i = 0; i < nv; ++i) rotate = rotate && st[i] < 0.5f;
      }
    }
    if (tracing) recfmt::write(report_unit, formats::trace_rotation);
    if (tracing) write_progress_norms(v, d);
    orthogonal_directions(v, d);
    if (tracing) write_directions(v);
  }
}

}  // namespace gemino
