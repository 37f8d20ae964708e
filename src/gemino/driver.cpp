#include "gemino/driver.h"

#include <string>

#include "gemino/charts.h"
#include "gemino/header.h"
#include "gemino/objective.h"
#include "gemino/optimiser.h"
#include "gemino/parameters.h"
#include "gemino/progress.h"
#include "gemino/report.h"
#include "gemino/start_points.h"
#include "gemino/twin_data.h"
#include "gemino/units.h"
#include "gral/initsio.h"
#include "gral/opef2.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"

namespace gemino {

namespace {

// Keeps a reported tensor for the results of the run.
void record_tensor(TensorRecord& record, const float (&x)[4], float objective_value,
                   float threshold, int32_t threshold_index) {
  for (int32_t k = 0; k < 4; ++k) record.params[k] = x[k];
  record.objective = objective_value;
  record.threshold = threshold;
  record.threshold_index = threshold_index;
}

void open_files() {
  std::string parameters_name = "?";
  std::string data_name = "?";
  std::string output_name = "?";
  gral::opef2(parameters_name, recfmt::Text<20>("PARAMETERS"), parameter_unit,
              recfmt::Text<7>("old"), 0);
  gral::opef2(data_name, recfmt::Text<20>("DATA"), data_unit, recfmt::Text<7>("old"), 0);
  // The report is cut when it is opened: after a run that fails early it holds only what
  // this run wrote, never a previous run's tensor.
  gral::opef2(output_name, recfmt::Text<20>("OUTPUT"), report_unit, recfmt::Text<7>("replace"), 0);
}

}  // namespace

void run_driver(State& s) {
  reset_state(s);
  gral::initsio();
  geminohead(recfmt::Text<10>("Gemino"), recfmt::Text<10>(" 1.2"), recfmt::Text<10>("2010-06-21"));
  open_files();

  copy_text_lines(s);
  // No parameter of the search is bounded.
  const float lower_bound[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  const float upper_bound[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  const int32_t bound_kind[4] = {0, 0, 0, 0};

  read_run_parameters(s);
  read_twin_data(s);
  write_separator();

  // Starting candidates. Modes that leave the angles unset start from zero angles, and a
  // run that keeps no candidate goes on from the zero tensor with nothing ranked.
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
    choose_start(s, trial, alpha, beta, gamma, r);
    stress_params[0] = -gamma;
    stress_params[1] = -beta;
    stress_params[2] = -alpha;
    stress_params[3] = r;
    objective(s, stress_params, f);
    report_progress(ProgressStage::starting_tensors, trial, s.trial_count);
    // A later candidate of equal value replaces an earlier one; a value that is not a
    // number is never kept.
    if (!(f <= best_objective)) continue;
    for (int32_t k = 0; k < 4; ++k) best_params[k] = stress_params[k];
    best_objective = f;
    best_threshold_index = s.threshold_index;
    best_threshold = s.threshold;
    keep_ranking(s);
  }
  for (int32_t k = 0; k < 4; ++k) stress_params[k] = best_params[k];
  s.threshold_index = best_threshold_index;

  float reported = best_objective;
  // R outside [0, 1] is re-expressed by the report, which scores the tensor again and
  // so leaves the threshold of the re-expressed one.
  const bool reexpressed = stress_params[3] > 1.0f || stress_params[3] < 0.0f;
  report_tensor(s, stress_params, reported, s.threshold_index, s.data_count);
  record_tensor(s.record.start, stress_params, reported, reexpressed ? s.threshold : best_threshold,
                s.threshold_index);

  if (s.debug_flag == 1) {
    recfmt::write_list(report_unit, {"call optimisation with f1 = ", f, " x = ", stress_params[0],
                                     stress_params[1], stress_params[2], stress_params[3]});
  }
  float best_point[4];
  for (int32_t k = 0; k < 4; ++k) best_point[k] = stress_params[k];
  rotation_search(
      s, stress_params, lower_bound, upper_bound, bound_kind, best_point, f, s.debug_flag,
      [](int32_t step, int32_t limit) { report_progress(ProgressStage::search, step, limit); });

  for (int32_t k = 0; k < 4; ++k) stress_params[k] = best_point[k];
  objective(s, stress_params, f);
  keep_ranking(s);
  reported = f;
  report_tensor(s, stress_params, reported, s.threshold_index, s.data_count);
  report_ranking(s);
  stress_plots(s, stress_params);
  record_tensor(s.record.final, stress_params, reported, s.threshold, s.threshold_index);
  s.record.completed = true;
  recfmt::stop();
}

}  // namespace gemino
