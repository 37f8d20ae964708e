// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/twin_share_auto.h"

#include "bootstrap/axial_stats.h"
#include "bootstrap/converged_reference.h"
#include "gemino/invert.h"

namespace cli {

bootstrap::ScanRange auto_range(const std::string& scan_text) {
  if (scan_text.empty()) return bootstrap::auto_scan_range;
  const auto given = bootstrap::parse_scan_range(scan_text);
  return given ? *given : bootstrap::auto_scan_range;
}

int32_t report_twin_percent(const ChosenShare& chosen, int32_t file_twin_percent,
                            bool converged_report) {
  return converged_report ? chosen.twin_percent : file_twin_percent;
}

bootstrap::RunInput scan_input(const gemino::State& s, double crss_mpa) {
  bootstrap::RunInput in = bootstrap::read_input(s, crss_mpa);
  const gemino::InversionOptions file = gemino::file_search(s, s.twin_percent);
  const gemino::ConvergedOptions options;
  if (s.start_mode == 1) {
    const gemino::InversionResult own = gemino::invert(in.rows, file);
    if (own.status == gemino::InversionStatus::done) {
      in.reference = bootstrap::tensor_result(own.final);
      return bootstrap::with_converged_reference(in, bootstrap::search_full_data(in, options),
                                                 options.tolerance);
    }
  }
  // No tensor of the file's own search: the converged answer is the reference.
  const gemino::ConvergedResult search = gemino::invert_converged(in.rows, file, options);
  if (search.status == gemino::InversionStatus::done) {
    in.reference = bootstrap::tensor_result(search.best);
    in.reference_converged = true;
  }
  return in;
}

gemino::ChooseSearch converged_at_share(const bootstrap::ScanRange& range, int32_t jobs,
                                        double crss_mpa, std::optional<ShareBeforeRun>* share,
                                        gemino::ReportSearch* kept) {
  return [range, jobs, crss_mpa, share, kept](const gemino::State& s) {
    ShareBeforeRun made;
    made.scan = bootstrap::run_scan(scan_input(s, crss_mpa), range, jobs);
    made.chosen = choose_share(made.scan, s.twin_percent);
    made.file_twin_percent = s.twin_percent;
    const int32_t percent = made.chosen.twin_percent;
    gemino::ReportSearch chosen = gemino::choose_converged(s, percent, gemino::ConvergedOptions());
    std::optional<gemino::SearchOverride> search = chosen.search;
    // Whatever search gives the answer, the run counts the chosen share.
    if (!search && percent != s.twin_percent) search = gemino::SearchOverride{chosen.seed, percent};
    if (kept != nullptr) *kept = std::move(chosen);
    if (share != nullptr) *share = std::move(made);
    return search;
  };
}

void measure_from(bootstrap::Scan& scan, const results::TensorResult& run) {
  for (bootstrap::ScanRow& row : scan.rows) {
    if (!row.valid) continue;
    row.sigma1_to_run_deg = bootstrap::axis_angle_deg(row.tensor.sigma1.vector, run.sigma1.vector);
    row.sigma3_to_run_deg = bootstrap::axis_angle_deg(row.tensor.sigma3.vector, run.sigma3.vector);
  }
}

}  // namespace cli
