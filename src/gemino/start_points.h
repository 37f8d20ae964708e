// SPDX-License-Identifier: GPL-3.0-or-later
// Starting points of the stress search: the random generator, the starting candidates of
// each trial by start mode, and the renaming of principal axes that brings the stress
// ratio R into [0, 1].
#pragma once

#include <cstdint>

#include "gemino/state.h"

namespace gemino {

// One step of the generator: iy = ix * 65539 (wrapping), made non-negative by adding
// 2147433648; u = iy * 2^-31.
void next_random(int32_t ix, int32_t& iy, float& u);

// value = scale * u for one step of the generator on seed, which advances.
void random_scaled(int32_t& seed, float& value, float scale);

// The starting-state record: sigma 1 and sigma 3 as direction and plunge (degrees), and R.
struct StartRecord {
  int32_t d1 = 0, q1 = 0, d3 = 0, q3 = 0;
  float r = 0.0f;
};

// Whether the trial takes a starting-state record: the first trial of every mode but 1,
// and every trial of a mode outside 1..6.
bool start_reads_record(int32_t start_mode, int32_t trial);

// The candidate of choose_start without reading or writing anything: `record` is the
// one the trial takes (null when it takes none).
void start_candidate(State& s, int32_t trial, const StartRecord* record, float& alpha, float& beta,
                     float& gamma, float& r);

// The starting angles (radians) and R of trial `trial` (1 for the first) according to
// s.start_mode; values a mode does not set keep what the caller holds. At the first
// trial it reads the starting-state record from unit 3 (modes other than 1) and writes
// the chosen-parameter box to unit 8.
void choose_start(State& s, int32_t trial, float& alpha, float& beta, float& gamma, float& r);

// Renames principal axes so that R comes into [0, 1]: R > 1 exchanges axes 1 and 2
// (R becomes 1/R), R < 0 exchanges axes 2 and 3 (R becomes R/(R-1)); the angles follow
// and the rows of s.axis_matrix are exchanged likewise.
void relabel_axes(State& s, float& alpha, float& beta, float& gamma, float& r);

}  // namespace gemino
