// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/charts.h"

#include <cstdint>
#include <string_view>

#include "gemino/formats.h"
#include "gemino/tensor.h"
#include "gemino/units.h"
#include "recfmt/statements.h"

namespace gemino {

namespace {

constexpr int32_t rows = 61;
constexpr int32_t stress_columns = 97;
constexpr int32_t percent_columns = 111;

// v rounded half away from zero: the float sum v + 0.5 (or v - 0.5) truncated. Values
// far outside the chart are held back first so that the conversion stays defined; a NaN
// counts as 0.
int32_t nearest(float v) {
  constexpr float limit = 1.0e6f;
  if (v > limit) v = limit;
  if (v < -limit) v = -limit;
  if (v > 0.0f) return static_cast<int32_t>(v + 0.5f);
  if (v < 0.0f) return static_cast<int32_t>(v - 0.5f);
  return 0;
}

int32_t clamp(int32_t v, int32_t low, int32_t high) {
  return v < low ? low : (v > high ? high : v);
}

// Which kinds of plane share a cell: 1 untwinned, 2 twinned at or below the threshold,
// 3 twinned above it; 4 = 1 and 2, 5 = 1 and 3, 6 = 2 and 3, 7 all three.
int32_t combine(int32_t cell, int32_t code) {
  if (cell == 0) return code;
  if (cell == code || cell == 7) return cell;
  if (cell <= 3) return cell + code + 1;
  return cell + code == 7 ? 7 : cell;
}

void write_row(const recfmt::Format& format, const char* cells, int32_t count) {
  recfmt::Writer w(report_unit, format);
  for (int32_t j = 0; j < count; ++j) w << std::string_view(cells + j, 1);
  w.finish();
}

}  // namespace

void stress_plots(State& s, float (&x)[4]) {
  recfmt::write(report_unit, formats::threshold, {s.threshold});

  const int32_t n = rows_in_storage(s.data_count);
  const float r = x[3];
  euler_matrix(s, x[0], x[1], x[2]);

  char chart[rows][percent_columns];
  int32_t cell_state[rows][stress_columns];
  int32_t untwinned_in_row[rows];
  int32_t twinned_in_row[rows];
  int32_t untwinned_total = 0;
  int32_t twinned_total = 0;
  for (int32_t i = 0; i < rows; ++i) {
    untwinned_in_row[i] = 0;
    twinned_in_row[i] = 0;
    for (int32_t j = 0; j < stress_columns; ++j) {
      cell_state[i][j] = 0;
      // Outside the ellipse of possible stress states the chart is dotted.
      const float cx = static_cast<float>(49 - (j + 1)) / 47.0f;
      const float cy = static_cast<float>(31 - (i + 1)) / 30.0f;
      chart[i][j] = cx * cx + cy * cy > 1.0f ? '.' : ' ';
    }
  }

  for (int32_t i = 0; i < n; ++i) {
    float a[3], b[3];
    principal_components(s, s.pole[i], a);
    principal_components(s, s.glide[i], b);
    const float tau = resolved_shear(r, a, b);
    const float sn = normal_stress(r, a);
    const float u = 2.0f * sn - 1.0f;
    const float w = 2.0f * tau;
    const int32_t row = clamp(31 - nearest(30.0f * w), 1, rows);
    const int32_t col = clamp(49 + nearest(47.0f * u), 1, stress_columns);
    int32_t code;
    if (s.twin_flag[i] <= 0) {
      code = 1;
      ++untwinned_total;
      ++untwinned_in_row[row - 1];
    } else {
      code = tau > s.threshold ? 3 : 2;
      ++twinned_total;
      ++twinned_in_row[row - 1];
    }
    int32_t& cell = cell_state[row - 1][col - 1];
    cell = combine(cell, code);
  }

  static constexpr char symbol[8] = {' ', '*', '1', '2', '3', '4', '5', '6'};
  for (int32_t i = 0; i < rows; ++i) {
    for (int32_t j = 0; j < stress_columns; ++j) {
      if (cell_state[i][j] != 0) chart[i][j] = symbol[cell_state[i][j]];
    }
    write_row(i == 0 ? formats::stress_chart_top : formats::stress_chart_row, chart[i],
              stress_columns);
  }

  // Cumulative percentages of untwinned ("*") and twinned ("1") planes from the highest
  // resolved shear stress down; "2" where both stand in one column. A kind of plane
  // absent from the data stays at 0 percent.
  for (int32_t i = 0; i < rows; ++i) {
    for (int32_t j = 0; j < percent_columns; ++j) chart[i][j] = ' ';
  }
  for (int32_t j = 1; j <= percent_columns; ++j) {
    if (j % 5 != 0) chart[30][j - 1] = '.';
  }
  int32_t untwinned_sum = 0;
  int32_t twinned_sum = 0;
  for (int32_t i = 0; i < rows; ++i) {
    untwinned_sum += untwinned_in_row[i];
    twinned_sum += twinned_in_row[i];
    const int32_t pu = untwinned_total == 0 ? 0 : (100 * untwinned_sum) / untwinned_total;
    const int32_t pt = twinned_total == 0 ? 0 : (100 * twinned_sum) / twinned_total;
    if (pt == pu) {
      chart[i][pu] = '2';
    } else {
      chart[i][pu] = '*';
      chart[i][pt] = '1';
    }
    write_row(i == 0 ? formats::percent_chart_top : formats::percent_chart_row, chart[i],
              percent_columns);
  }
}

}  // namespace gemino
