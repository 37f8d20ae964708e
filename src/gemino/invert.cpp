#include "gemino/invert.h"

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

void keep(InvertedTensor& out, State& s, const float (&x)[4], float objective_value,
          float threshold) {
  for (int32_t k = 0; k < 4; ++k) out.tensor.params[k] = x[k];
  out.tensor.objective = objective_value;
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
  const float lower_bound[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  const float upper_bound[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  const int32_t bound_kind[4] = {0, 0, 0, 0};

  std::size_t next_record = 0;
  float alpha = 0.0f;
  float beta = 0.0f;
  float gamma = 0.0f;
  float r = 0.0f;
  float stress_params[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float best_params[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float best_objective = no_candidate;
  int32_t best_threshold_index = 0;
  float best_threshold = 0.0f;
  float f = 0.0f;
  for (int32_t trial = 1; trial <= s.trial_count; ++trial) {
    if (start_reads_record(s.start_mode, trial)) {
      if (next_record >= options.start_records.size()) {
        result.status = InversionStatus::records_missing;
        return;
      }
      start_candidate(s, trial, &options.start_records[next_record++], alpha, beta, gamma, r);
    } else {
      start_candidate(s, trial, nullptr, alpha, beta, gamma, r);
    }
    stress_params[0] = -gamma;
    stress_params[1] = -beta;
    stress_params[2] = -alpha;
    stress_params[3] = r;
    objective(s, stress_params, f);
    tell(options, ProgressStage::starting_tensors, trial, s.trial_count);
    if (!(f <= best_objective)) continue;
    for (int32_t k = 0; k < 4; ++k) best_params[k] = stress_params[k];
    best_objective = f;
    best_threshold_index = s.threshold_index;
    best_threshold = s.threshold;
    keep_ranking(s);
  }
  for (int32_t k = 0; k < 4; ++k) stress_params[k] = best_params[k];
  s.threshold_index = best_threshold_index;
  const bool reexpressed = bring_r_into_range(s, stress_params);
  keep(result.start, s, stress_params, best_objective, reexpressed ? s.threshold : best_threshold);

  float best_point[4];
  for (int32_t k = 0; k < 4; ++k) best_point[k] = stress_params[k];
  rotation_search(s, stress_params, lower_bound, upper_bound, bound_kind, best_point, f, 0,
                  [&options](int32_t step, int32_t limit) {
                    tell(options, ProgressStage::search, step, limit);
                  });

  for (int32_t k = 0; k < 4; ++k) stress_params[k] = best_point[k];
  objective(s, stress_params, f);
  keep_ranking(s);
  const float reported = f;
  bring_r_into_range(s, stress_params);
  keep(result.final, s, stress_params, reported, s.threshold);
}

}  // namespace

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
  const int32_t n = static_cast<int32_t>(rows.size());
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
  float twinned = 0.0f;
  float untwinned = 0.0f;
  count_planes(s, twinned, untwinned);
  result.twin_limit = s.twin_limit;
  try {
    compute(s, options, result);
  } catch (const Cancelled&) {
    result.status = InversionStatus::cancelled;
  }
  result.seed_after = s.seed;
  return result;
}

InversionResult invert(std::span<const PlaneRow> rows, const InversionOptions& options) {
  const auto state = std::make_unique<State>();
  return invert(rows, options, *state);
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
