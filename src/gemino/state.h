// SPDX-License-Identifier: GPL-3.0-or-later
// The computation's shared storage: one static area sized for 500 data rows, alive for
// the whole process, never allocated during a run. Every routine of the inversion takes
// it by reference. Arrays are indexed from 0: row i of the text (1-based) is [i - 1].
#pragma once

#include <cfloat>
#include <cstdint>

#include "recfmt/items.h"

namespace gemino {

// Every real of the computation is a float and each operation rounds once to float: an
// intermediate held in a wider type would change the report's last digits.
static_assert(FLT_EVAL_METHOD == 0, "float arithmetic must be evaluated in float");

inline constexpr int32_t max_rows = 500;
inline constexpr int32_t max_selection = 500;
inline constexpr int32_t max_params = 4;
inline constexpr int32_t text_line_count = 10;
inline constexpr int32_t text_line_length = 80;
// The c-axis records a run keeps for its results: a grain's record is kept even when none
// of its planes is (the 500 rows are for planes).
inline constexpr int32_t max_grain_records = 20 * max_rows;

// A tensor as the report gives it: the search parameters after R was brought into
// [0, 1], the objective value printed with it, the threshold and the number of ranked
// planes listed down to it.
struct TensorRecord {
  float params[max_params];
  float objective;
  float threshold;
  int32_t threshold_index;
};

// What a run keeps for the readers of its results besides the report: nothing of the
// computation reads it back.
struct RunRecord {
  char text[text_line_count][text_line_length];  // the parameter file's text lines, as read
  int32_t seed;                                  // the random seed as read, before any draw
  int32_t row_grain[max_rows];  // grain number of each data row, block offset included
  int32_t row_block[max_rows];  // block of each data row, 1 for the first
  // The grain of each data row as the inversion takes it: the c-axis record (0 for the
  // first of the file) that the row follows.
  int32_t row_grain_record[max_rows];
  // The c-axis records, in file order: grain number (block offset included), block and
  // the axis as read, pointing upward. grain_count counts every record of the file; those
  // past max_grain_records are not kept.
  int32_t grain_number[max_grain_records];
  int32_t grain_block[max_grain_records];
  float c_axis[max_grain_records][3];
  int32_t grain_count;
  TensorRecord start;  // the best starting candidate
  TensorRecord final;  // the optimised tensor
  bool completed;      // the run wrote its whole report
};

struct State {
  // --- data rows (twin data reader) -------------------------------------------------
  float pole[max_rows][3];   // unit normal of each stored twin plane
  float glide[max_rows][3];  // unit vector in the plane toward the grain's c-axis
  int32_t data_number[max_rows];
  int32_t twin_flag[max_rows];  // +1 twinned, -1 untwinned
  int32_t data_count;           // rows in use, 0..500
  int32_t twin_limit;           // twinned planes the threshold must reach

  // --- run parameters (parameter file) ----------------------------------------------
  int32_t start_mode;
  int32_t trial_count;
  int32_t twin_percent;
  int32_t seed;  // advanced in place by every random draw
  int32_t iteration_limit;
  int32_t quiet_listing;
  int32_t debug_flag;
  int32_t selection_mode;
  int32_t selection_count;
  int32_t selection_list[max_selection];

  // --- driver -----------------------------------------------------------------------
  int32_t
      best_index_list[max_rows];  // shear_order positions 1..threshold_index of the kept solution

  // --- starting points: values derived from the starting-state record, kept from the
  // call that computes them to all later calls of choose_start ------------------------
  float start_t1, start_p1, start_x1, start_y1, start_t3, start_p3;

  // --- stress inversion -------------------------------------------------------------
  float rotation_matrix[3][3];    // [I-1][J-1]: column J is principal axis J
  float axis_matrix[3][3];        // row J is principal axis J, third component <= 0
  float shear_list[max_rows];     // resolved shear stresses, then the ranking (non-increasing)
  int32_t shear_order[max_rows];  // data row (1-based) at each ranking position
  float threshold;                // persists between evaluations; 0 before the first
  int32_t threshold_index;
  int32_t eval_count;  // trial steps taken by the optimiser

  RunRecord record;
};

// n held to the rows the storage has, 0..max_rows.
inline int32_t rows_in_storage(int32_t n) {
  return n < 0 ? 0 : (n > max_rows ? max_rows : n);
}

// The one instance of the program.
State& shared_state();

// Sets every field to zero (a fresh process): used at the start of a run and by tests.
void reset_state(State& s);

}  // namespace gemino
