// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/search_check.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <vector>

#include "bootstrap/resampling.h"
#include "gemino/invert.h"
#include "results/json_export.h"

namespace cli {

namespace {

nlohmann::ordered_json line_json(const results::Line& l) {
  return {{"trend", results::float_value(l.trend)}, {"plunge", results::float_value(l.plunge)}};
}

nlohmann::ordered_json range_json(float low, float high) {
  return {{"min", results::float_value(low)}, {"max", results::float_value(high)}};
}

}  // namespace

nlohmann::ordered_json extent_json(const gemino::SetExtent& e, double crss_mpa) {
  nlohmann::ordered_json j = {{"tensors", e.tensors},
                              {"sigma1_angle_deg", e.sigma1_deg},
                              {"sigma3_angle_deg", e.sigma3_deg},
                              {"R", range_json(e.r_min, e.r_max)},
                              {"threshold", range_json(e.threshold_min, e.threshold_max)},
                              {"crss_mpa", crss_mpa},
                              {"differential_stress_mpa", nullptr}};
  // The differential stress falls as the threshold rises: the smallest threshold gives
  // the largest one.
  const std::optional<double> low = bootstrap::differential_mpa(e.threshold_max, crss_mpa);
  const std::optional<double> high = bootstrap::differential_mpa(e.threshold_min, crss_mpa);
  if (e.tensors > 0 && low && high) {
    j["differential_stress_mpa"] = {{"min", *low}, {"max", *high}};
  }
  return j;
}

gemino::ConvergedResult search_again(const gemino::State& state, const results::Result& result,
                                     const gemino::ConvergedOptions& options) {
  gemino::InversionOptions run;
  run.start_mode = 1;
  run.trial_count = state.trial_count;
  run.twin_percent = state.twin_percent;
  run.seed = state.record.seed;
  run.iteration_limit = state.iteration_limit;
  gemino::ConvergedOptions with_report = options;
  const float* p = result.result.params;
  with_report.candidates.push_back({p[0], p[1], p[2], p[3]});
  return gemino::invert_converged(gemino::rows_of(state), run, with_report);
}

bool report_is_best(const gemino::ConvergedResult& search, const results::Result& result,
                    float tolerance) {
  return result.result.objective_reported_units - search.best.objective_reported <= tolerance;
}

nlohmann::ordered_json search_json(const gemino::ConvergedResult& search,
                                   const results::Result& result, float tolerance,
                                   double crss_mpa) {
  nlohmann::ordered_json j = {{"restarts", search.restarts},
                              {"restarts_at_best", search.restarts_at_best},
                              {"tolerance", results::float_value(tolerance)},
                              {"report_is_best", report_is_best(search, result, tolerance)}};
  if (!j["report_is_best"].get<bool>()) {
    const results::TensorResult t = bootstrap::tensor_result(search.best);
    j["best"] = {{"sigma1", line_json(t.sigma1.line)},
                 {"sigma2", line_json(t.sigma2.line)},
                 {"sigma3", line_json(t.sigma3.line)},
                 {"R", results::float_value(t.R)},
                 {"objective_reported_units", results::float_value(t.objective_reported_units)},
                 {"threshold", results::float_value(t.threshold)},
                 {"params",
                  {results::float_value(t.params[0]), results::float_value(t.params[1]),
                   results::float_value(t.params[2]), results::float_value(t.params[3])}}};
  }
  const std::vector<gemino::InvertedTensor> set = gemino::indistinct_set(search, tolerance);
  j["indistinct"] = extent_json(gemino::set_extent(set), crss_mpa);
  return j;
}

nlohmann::ordered_json mode_json(gemino::SearchMode mode, const nlohmann::ordered_json& block,
                                 const gemino::ReportSearch* chosen) {
  nlohmann::ordered_json j = {{"mode", gemino::search_mode_name(mode)}};
  // The seed of the search that found the report's tensor: a plain run with start mode 1
  // and this seed reports the same tensor.
  if (chosen != nullptr) j["report_seed"] = chosen->seed;
  for (const auto& [key, value] : block.items()) j[key] = value;
  return j;
}

const gemino::ConvergedResult& checked_search(Run& run) {
  // A converged run reports what the search that chose it found: nothing to redo.
  if (run.report_search != nullptr) return run.report_search->converged;
  if (!run.checked) run.checked = search_again(run.state, run.result, gemino::ConvergedOptions());
  return *run.checked;
}

void SearchCheck::prepare(Run& run) {
  const gemino::ConvergedOptions options;
  const gemino::ReportSearch* chosen = run.report_search;
  if (chosen == nullptr && !run.outputs_asked) return;
  const gemino::ConvergedResult& search = checked_search(run);
  if (search.status != gemino::InversionStatus::done) return;
  if (run.outputs_asked) {
    run.json_blocks["search"] =
        mode_json(run.options.search,
                  search_json(search, run.result, options.tolerance, run.options.crss_mpa), chosen);
  }
  const std::string why =
      gemino::not_best_text(run.result.result.objective_reported_units, search, options.tolerance);
  // Not on the console: its transcript is the run's own.
  if (!why.empty()) std::cerr << "gemino-term: " << why << " (see the JSON's search block)\n";
}

}  // namespace cli
