// SPDX-License-Identifier: GPL-3.0-or-later
// The inversion as a function of its data: the starting candidates, then the search,
// on a state of the caller's, with no reading, no writing and nothing shared between
// calls, so that several threads may invert at once. It is the run's computation step
// for step, and gives the very tensors the run reports for the same rows and parameters.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "gemino/optimiser.h"
#include "gemino/progress.h"
#include "gemino/start_points.h"
#include "gemino/state.h"

namespace gemino {

// One stored plane, as the twin data reader leaves it in a data row.
struct PlaneRow {
  float pole[3];
  float glide[3];
  int32_t data_number;
  int32_t twin_flag;  // +1 twinned, -1 untwinned
};

struct InversionOptions {
  int32_t start_mode = 1;
  int32_t trial_count = 0;
  int32_t twin_percent = 100;
  int32_t seed = 0;
  int32_t iteration_limit = 0;
  // The starting-state records in the order the run would read them (start modes other
  // than 1); running short ends the inversion with records_missing.
  std::vector<StartRecord> start_records;
  // Told at every starting tensor and every trial step, as the run's progress hook; a
  // false answer ends the inversion with cancelled.
  std::function<bool(ProgressStage stage, int32_t done, int32_t total)> progress;
};

enum class InversionStatus : int32_t { done, cancelled, too_many_rows, records_missing };

struct InvertedTensor {
  TensorRecord tensor;  // as the report gives it: R in [0, 1]
  float axes[3][3];     // row j: principal axis j + 1, third component not positive
  // The objective of this very tensor, in units of its own sigma1 - sigma3. The report's
  // value (tensor.objective) is the one scored before the axes were renamed to bring R
  // into [0, 1]; the two are equal when no renaming took place.
  float objective_reported;
};

struct InversionResult {
  InversionStatus status = InversionStatus::done;
  InvertedTensor start{};  // the best starting candidate
  InvertedTensor final{};  // the optimised tensor
  int32_t twin_limit = 0;
  int32_t seed_after = 0;  // the generator after the last draw
};

// Inverts rows (at most max_rows) on the caller's state, which it overwrites from the
// first field to the last: a worker keeps one and allocates nothing per inversion.
// After a done inversion the state holds the ranking under the optimised tensor.
InversionResult invert(std::span<const PlaneRow> rows, const InversionOptions& options,
                       State& state);

// The same on a state of its own.
InversionResult invert(std::span<const PlaneRow> rows, const InversionOptions& options);

// The two steps of the computation that the run and invert share.

// The best starting candidate as it was scored, before the report re-expresses R.
struct BestStart {
  float objective = 0.0f;
  float threshold = 0.0f;
};

// Gives the starting angles (radians) and R of a trial (1 for the first).
using DrawStart =
    std::function<void(int32_t trial, float& alpha, float& beta, float& gamma, float& r)>;

// Scores the s.trial_count starting candidates in order, telling `scored` after each, and
// leaves x at the best (the zero tensor when none is kept), s.threshold_index at its
// threshold index and its ranking kept; f holds the value of the last candidate scored.
BestStart best_start(State& s, const DrawStart& draw, const StepHook& scored, float (&x)[4],
                     float& f);

// The search from x, whose value is f: leaves x at the best point found, scored, with its
// ranking kept, and f its value.
void search_from(State& s, float (&x)[4], float& f, int32_t debug_flag, const StepHook& on_step);

// The data rows of a state (as the twin data reader filled them).
std::vector<PlaneRow> rows_of(const State& s);
// The reverse: puts the rows (at most max_rows of them) into the state's data and sets its
// count, as the twin data reader would have; the rest of the state is left as it is.
void put_rows(std::span<const PlaneRow> rows, State& s);

}  // namespace gemino
