// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/driver.h"

#include <string>

#include "gemino/charts.h"
#include "gemino/header.h"
#include "gemino/invert.h"
#include "gemino/parameters.h"
#include "gemino/progress.h"
#include "gemino/report.h"
#include "gemino/report_share.h"
#include "gemino/start_points.h"
#include "gemino/twin_data.h"
#include "gemino/units.h"
#include "gral/initsio.h"
#include "gral/opef2.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "recfmt/units.h"

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

// Opens the run's files; returns the report's name as given.
std::string open_files() {
  std::string parameters_name = "?";
  std::string data_name = "?";
  std::string output_name = "?";
  gral::opef2(parameters_name, recfmt::Text<20>("PARAMETERS"), parameter_unit,
              recfmt::Text<7>("old"), 0);
  gral::opef2(data_name, recfmt::Text<20>("DATA"), data_unit, recfmt::Text<7>("old"), 0);
  // The report is cut when it is opened: after a run that fails early it holds only what
  // this run wrote, never a previous run's tensor.
  gral::opef2(output_name, recfmt::Text<20>("OUTPUT"), report_unit, recfmt::Text<7>("replace"), 0);
  return output_name;
}

// Puts the chosen search in place of the file's: its seed and start mode for the draws,
// and the twin limit of its share of twinned planes.
void use_search(State& s, const SearchOverride& search) {
  s.start_mode = 1;
  s.seed = search.seed;
  if (search.twin_percent != s.twin_percent) {
    s.twin_percent = search.twin_percent;
    float twinned = 0.0f;
    float untwinned = 0.0f;
    count_planes(s, twinned, untwinned);
  }
}

}  // namespace

void run_driver(State& s) {
  run_driver(s, ChooseSearch());
}

void run_driver(State& s, const ChooseSearch& choose) {
  reset_state(s);
  gral::initsio();
  geminohead(recfmt::Text<10>("Gemino"), recfmt::Text<10>(" 1.2"), recfmt::Text<10>("2010-06-21"));
  const std::string report_name = open_files();

  copy_text_lines(s);
  read_run_parameters(s);
  read_twin_data(s);
  write_separator();

  // The parameter file's start mode stays what the results say was asked for.
  const int32_t file_start_mode = s.start_mode;
  const int32_t file_twin_percent = s.twin_percent;
  if (choose) {
    if (const std::optional<SearchOverride> search = choose(s)) use_search(s, *search);
  }

  float stress_params[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float f = 0.0f;
  const BestStart best = best_start(
      s,
      [&s](int32_t trial, float& alpha, float& beta, float& gamma, float& r) {
        choose_start(s, trial, alpha, beta, gamma, r);
      },
      [](int32_t trial, int32_t count) {
        report_progress(ProgressStage::starting_tensors, trial, count);
      },
      stress_params, f);
  s.start_mode = file_start_mode;

  float reported = best.objective;
  // R outside [0, 1] is re-expressed by the report, which scores the tensor again and
  // so leaves the threshold of the re-expressed one.
  const bool reexpressed = stress_params[3] > 1.0f || stress_params[3] < 0.0f;
  report_tensor(s, stress_params, reported, s.threshold_index, s.data_count);
  record_tensor(s.record.start, stress_params, reported, reexpressed ? s.threshold : best.threshold,
                s.threshold_index);

  if (s.debug_flag == 1) {
    recfmt::write_list(report_unit, {"call optimisation with f1 = ", f, " x = ", stress_params[0],
                                     stress_params[1], stress_params[2], stress_params[3]});
  }
  search_from(s, stress_params, f, s.debug_flag, [](int32_t step, int32_t limit) {
    report_progress(ProgressStage::search, step, limit);
  });
  reported = f;
  report_tensor(s, stress_params, reported, s.threshold_index, s.data_count);
  report_ranking(s);
  stress_plots(s, stress_params);
  record_tensor(s.record.final, stress_params, reported, s.threshold, s.threshold_index);
  s.record.completed = true;
  if (s.twin_percent != file_twin_percent) {
    // The echo of the run parameters and the twin counts were written before the search
    // was chosen: they now say the share the run counted.
    recfmt::close(report_unit);
    if (!write_share_used(report_name, text_line_count, s.twin_percent, s.twin_limit)) {
      recfmt::write_list(console_unit, {"THE REPORT STILL ECHOES THE PARAMETER FILE'S SHARE; "
                                        "THE RUN COUNTED ",
                                        s.twin_percent, " %"});
    }
  }
  recfmt::stop();
}

}  // namespace gemino
