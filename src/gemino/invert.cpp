// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/invert.h"

#include <algorithm>
#include <memory>

#include "gemino/objective.h"
#include "gemino/optimiser.h"
#include "gemino/report.h"
#include "gemino/tensor.h"
#include "gemino/twin_data.h"

namespace gemino {

namespace {

// Unwinds the search when the progress callback asks to end the inversion.
struct Cancelled {};

// Unwinds the starting candidates when a trial wants a record the caller did not give.
struct RecordsMissing {};

void keep(InvertedTensor& out, State& s, const float (&x)[4], float objective_value,
          float objective_reported, float threshold) {
  for (int32_t k = 0; k < 4; ++k) out.tensor.params[k] = x[k];
  out.tensor.objective = objective_value;
  out.objective_reported = objective_reported;
  out.tensor.threshold = threshold;
  out.tensor.threshold_index = s.threshold_index;
  fill_axis_matrix(s, x);
  for (int32_t j = 0; j < 3; ++j) {
    for (int32_t k = 0; k < 3; ++k) out.axes[j][k] = s.axis_matrix[j][k];
  }
}

void tell(const InversionOptions& options, ProgressStage stage, int32_t done, int32_t total) {
  if (options.progress && !options.progress(stage, done, total)) throw Cancelled{};
}

// The run's computation from the data rows on: the same calls in the same order as the
// driver, without its writing.
void compute(State& s, const InversionOptions& options, InversionResult& result) {
  std::size_t next_record = 0;
  const auto draw = [&options, &next_record, &s](int32_t trial, float& alpha, float& beta,
                                                 float& gamma, float& r) {
    const StartRecord* record = nullptr;
    if (start_reads_record(s.start_mode, trial)) {
      if (next_record >= options.start_records.size()) throw RecordsMissing{};
      record = &options.start_records[next_record++];
    }
    start_candidate(s, trial, record, alpha, beta, gamma, r);
  };
  float stress_params[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float f = 0.0f;
  const BestStart best = best_start(
      s, std::cref(draw),
      [&options](int32_t trial, int32_t count) {
        tell(options, ProgressStage::starting_tensors, trial, count);
      },
      stress_params, f);
  float start_rescored = best.objective;
  const bool reexpressed = bring_r_into_range(s, stress_params, &start_rescored);
  keep(result.start, s, stress_params, best.objective, start_rescored,
       reexpressed ? s.threshold : best.threshold);

  search_from(s, stress_params, f, 0, [&options](int32_t step, int32_t limit) {
    tell(options, ProgressStage::search, step, limit);
  });
  const float reported = f;
  float rescored = f;
  bring_r_into_range(s, stress_params, &rescored);
  keep(result.final, s, stress_params, reported, rescored, s.threshold);
}

}  // namespace

BestStart best_start(State& s, const DrawStart& draw, const StepHook& scored, float (&x)[4],
                     float& f) {
  // Modes that leave the angles unset start from zero angles, and a run that keeps no
  // candidate goes on from the zero tensor with nothing ranked.
  float alpha = 0.0f;
  float beta = 0.0f;
  float gamma = 0.0f;
  float r = 0.0f;
  float best_params[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  BestStart best{no_candidate, 0.0f};
  int32_t best_threshold_index = 0;
  // A candidate is scored by the walk down to the threshold, which gives the value of the
  // full ranking; only a candidate that is kept, and the last one (whose ranking the state
  // is left with), are ranked in full. Rows beyond the storage are always ranked in full,
  // as the ranking reports them once per candidate.
  const bool walk = rows_in_storage(s.data_count) == s.data_count;
  bool last_ranked = true;
  for (int32_t trial = 1; trial <= s.trial_count; ++trial) {
    draw(trial, alpha, beta, gamma, r);
    x[0] = -gamma;
    x[1] = -beta;
    x[2] = -alpha;
    x[3] = r;
    if (walk) {
      objective_score(s, x, f);
    } else {
      objective(s, x, f);
    }
    last_ranked = !walk;
    if (scored) scored(trial, s.trial_count);
    // A later candidate of equal value replaces an earlier one; a value that is not a
    // number is never kept.
    if (!(f <= best.objective)) continue;
    if (!last_ranked) {
      objective(s, x, f);
      last_ranked = true;
    }
    for (int32_t k = 0; k < 4; ++k) best_params[k] = x[k];
    best.objective = f;
    best_threshold_index = s.threshold_index;
    best.threshold = s.threshold;
    keep_ranking(s);
  }
  if (!last_ranked) objective(s, x, f);
  for (int32_t k = 0; k < 4; ++k) x[k] = best_params[k];
  s.threshold_index = best_threshold_index;
  return best;
}

void search_from(State& s, float (&x)[4], float& f, int32_t debug_flag, const StepHook& on_step) {
  // No parameter of the search is bounded.
  const float lower_bound[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  const float upper_bound[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  const int32_t bound_kind[4] = {0, 0, 0, 0};
  float best_point[4];
  for (int32_t k = 0; k < 4; ++k) best_point[k] = x[k];
  rotation_search(s, x, lower_bound, upper_bound, bound_kind, best_point, f, debug_flag, on_step);
  for (int32_t k = 0; k < 4; ++k) x[k] = best_point[k];
  objective(s, x, f);
  keep_ranking(s);
}

InversionResult invert(std::span<const PlaneRow> rows, const InversionOptions& options, State& s) {
  InversionResult result;
  reset_state(s);
  if (rows.size() > static_cast<std::size_t>(max_rows)) {
    result.status = InversionStatus::too_many_rows;
    return result;
  }
  s.start_mode = options.start_mode;
  s.trial_count = options.trial_count;
  s.twin_percent = options.twin_percent;
  s.seed = options.seed;
  s.iteration_limit = options.iteration_limit;
  put_rows(rows, s);
  float twinned = 0.0f;
  float untwinned = 0.0f;
  count_planes(s, twinned, untwinned);
  result.twin_limit = s.twin_limit;
  try {
    compute(s, options, result);
  } catch (const Cancelled&) {
    result.status = InversionStatus::cancelled;
  } catch (const RecordsMissing&) {
    result.status = InversionStatus::records_missing;
  }
  result.seed_after = s.seed;
  return result;
}

InversionResult invert(std::span<const PlaneRow> rows, const InversionOptions& options) {
  const auto state = std::make_unique<State>();
  return invert(rows, options, *state);
}

void put_rows(std::span<const PlaneRow> rows, State& s) {
  const auto n = static_cast<int32_t>(std::min(rows.size(), static_cast<std::size_t>(max_rows)));
  for (int32_t i = 0; i < n; ++i) {
    const PlaneRow& row = rows[static_cast<std::size_t>(i)];
    for (int32_t k = 0; k < 3; ++k) {
      s.pole[i][k] = row.pole[k];
      s.glide[i][k] = row.glide[k];
    }
    s.data_number[i] = row.data_number;
    s.twin_flag[i] = row.twin_flag;
  }
  s.data_count = n;
}

std::vector<PlaneRow> rows_of(const State& s) {
  const int32_t n = rows_in_storage(s.data_count);
  std::vector<PlaneRow> rows(static_cast<std::size_t>(n));
  for (int32_t i = 0; i < n; ++i) {
    PlaneRow& row = rows[static_cast<std::size_t>(i)];
    for (int32_t k = 0; k < 3; ++k) {
      row.pole[k] = s.pole[i][k];
      row.glide[k] = s.glide[i][k];
    }
    row.data_number = s.data_number[i];
    row.twin_flag = s.twin_flag[i];
  }
  return rows;
}

}  // namespace gemino
