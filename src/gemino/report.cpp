// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/report.h"

#include "gemino/formats.h"
#include "gemino/objective.h"
#include "gemino/start_points.h"
#include "gemino/tensor.h"
#include "gemino/units.h"
#include "recfmt/statements.h"

namespace gemino {

namespace {

constexpr int32_t per_line = 14;

}  // namespace

void write_separator() {
  recfmt::write(report_unit, formats::separator);
}

int32_t signed_number(const State& s, int32_t row) {
  if (row < 1 || row > max_rows) return 0;
  return s.twin_flag[row - 1] * s.data_number[row - 1];
}

bool bring_r_into_range(State& s, float (&x)[4], float* rescored) {
  if (!(x[3] > 1.0f || x[3] < 0.0f)) return false;
  fill_axis_matrix(s, x);
  float alpha = -x[2];
  float beta = -x[1];
  float gamma = -x[0];
  relabel_axes(s, alpha, beta, gamma, x[3]);
  x[0] = -gamma;
  x[1] = -beta;
  x[2] = -alpha;
  float refreshed = 0.0f;
  objective(s, x, refreshed);
  if (rescored != nullptr) *rescored = refreshed;
  return true;
}

void report_tensor(State& s, float (&x)[4], float& f, int32_t& threshold_index,
                   [[maybe_unused]] int32_t& n) {
  bring_r_into_range(s, x);
  fill_axis_matrix(s, x);
  for (int32_t j = 0; j < 3; ++j) {
    float direction = 0.0f;
    float plunge = 0.0f;
    axis_direction_plunge(s, j, direction, plunge);
    recfmt::write(report_unit, formats::principal_axis, {j + 1, direction, plunge, x[j]});
  }
  recfmt::write(report_unit, formats::objective_value, {f, x[3], x[3]});

  const int32_t listed = rows_in_storage(threshold_index);
  {
    recfmt::Writer line(report_unit, formats::kept_planes);
    for (int32_t i = 0; i < listed; ++i) line << signed_number(s, s.best_index_list[i]);
    line.finish();
  }
  write_separator();
}

void report_ranking(State& s) {
  const int32_t n = rows_in_storage(s.data_count);
  const int32_t blocks = (n - 1) / per_line + 1;
  for (int32_t b = 0; b < blocks; ++b) {
    const int32_t first = per_line * b;
    const int32_t last = per_line * (b + 1) < n ? per_line * (b + 1) : n;
    {
      recfmt::Writer numbers(report_unit, formats::ranking_numbers);
      for (int32_t l = first; l < last; ++l) numbers << signed_number(s, s.shear_order[l]);
      numbers.finish();
    }
    recfmt::Writer values(report_unit, formats::ranking_values);
    for (int32_t l = first; l < last; ++l) values << s.shear_list[l];
    values.finish();
  }
}

}  // namespace gemino
