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

const gemino::ConvergedResult& converged_search(Run& run) {
  if (!run.converged) run.converged = search_again(run.state, run.result, {});
  return *run.converged;
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

void SearchCheck::prepare(Run& run) {
  if (!run.outputs_asked) return;
  const gemino::ConvergedOptions options;
  const gemino::ConvergedResult& search = converged_search(run);
  if (search.status != gemino::InversionStatus::done) return;
  run.json_blocks["search"] =
      search_json(search, run.result, options.tolerance, run.options.crss_mpa);
  if (!report_is_best(search, run.result, options.tolerance)) {
    // Not on the console: its transcript is the run's own.
    char line[200];
    std::snprintf(line, sizeof line,
                  "gemino-term: the report's tensor is not the best found: objective %.4f, "
                  "a converged search reached %.4f (see the JSON's search block)\n",
                  static_cast<double>(run.result.result.objective_reported_units),
                  static_cast<double>(search.best.objective_reported));
    std::cerr << line;
  }
}

}  // namespace cli
