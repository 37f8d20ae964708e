#include "gemino/report.h"

#include "gemino/objective.h"
#include "gemino/start_points.h"
#include "gemino/tensor.h"
#include "recfmt/statements.h"

namespace gemino {

namespace {

const recfmt::Format fmt_2000(
    "(T20,'SIGMA ',I1,'   DIRECTION   ',F5.0,'   PENDAGE   ',F5.0,T80,F6.3,/)");
const recfmt::Format fmt_2001(
    "(T20,'VALEUR DE LA FONCTION  ',F10.2,'  RAPPORT R ',F6.3,T80,F6.3,//)");
const recfmt::Format fmt_2002("(14(1X,I4))");
const recfmt::Format fmt_2003("(14(1X,F7.3,1X))");
const recfmt::Format fmt_2004("(/,14(3X,I4,2X))");
const recfmt::Format fmt_separator("(/,T10,'******************************************',/)");

constexpr int32_t per_line = 14;

int32_t rows_in_range(int32_t n) {
  return n < 0 ? 0 : (n > max_rows ? max_rows : n);
}

}  // namespace

void write_separator() {
  recfmt::write(8, fmt_separator);
}

int32_t signed_number(const State& s, int32_t row) {
  if (row < 1 || row > max_rows) return 0;
  return s.twin_flag[row - 1] * s.data_number[row - 1];
}

void report_tensor(State& s, float (&x)[4], float& f, int32_t& threshold_index,
                   [[maybe_unused]] int32_t& n) {
  if (x[3] > 1.0f || x[3] < 0.0f) {
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
  }

  fill_axis_matrix(s, x);
  for (int32_t j = 0; j < 3; ++j) {
    float direction = 0.0f;
    float plunge = 0.0f;
    axis_direction_plunge(s, j, direction, plunge);
    recfmt::write(8, fmt_2000, {j + 1, direction, plunge, x[j]});
  }
  recfmt::write(8, fmt_2001, {f, x[3], x[3]});

  const int32_t listed = rows_in_range(threshold_index);
  {
    recfmt::Writer line(8, fmt_2002);
    for (int32_t i = 0; i < listed; ++i) line << signed_number(s, s.best_index_list[i]);
    line.finish();
  }
  write_separator();
}

void report_ranking(State& s) {
  const int32_t n = rows_in_range(s.data_count);
  const int32_t blocks = (n - 1) / per_line + 1;
  for (int32_t b = 0; b < blocks; ++b) {
    const int32_t first = per_line * b;
    const int32_t last = per_line * (b + 1) < n ? per_line * (b + 1) : n;
    {
      recfmt::Writer numbers(8, fmt_2004);
      for (int32_t l = first; l < last; ++l) numbers << signed_number(s, s.shear_order[l]);
      numbers.finish();
    }
    recfmt::Writer values(8, fmt_2003);
    for (int32_t l = first; l < last; ++l) values << s.shear_list[l];
    values.finish();
  }
}

}  // namespace gemino
