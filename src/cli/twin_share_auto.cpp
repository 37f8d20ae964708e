#include "cli/twin_share_auto.h"

#include "bootstrap/axial_stats.h"
#include "bootstrap/converged_reference.h"
#include "gemino/invert.h"
#include "results/json_export.h"
#include "results/magnitudes.h"

namespace cli {

namespace {

nlohmann::ordered_json line_json(const results::Line& l) {
  return {{"trend", results::float_value(l.trend)}, {"plunge", results::float_value(l.plunge)}};
}

}  // namespace

bootstrap::ScanRange auto_range(const std::string& scan_text) {
  if (scan_text.empty()) return bootstrap::auto_scan_range;
  const auto given = bootstrap::parse_scan_range(scan_text);
  return given ? *given : bootstrap::auto_scan_range;
}

ChosenShare choose_share(const bootstrap::Scan& scan, int32_t file_twin_percent) {
  ChosenShare c;
  if (scan.suggestion && !scan.cancelled) {
    c.twin_percent = scan.suggestion->twin_percent;
    c.suggested = true;
    c.reason = "suggested by the twin-percent scan: " + scan.suggestion->reason;
  } else {
    c.twin_percent = file_twin_percent;
    c.reason = "the parameter file's share: the scan inverted too few rows to suggest one";
  }
  return c;
}

int32_t report_twin_percent(const ChosenShare& chosen, int32_t file_twin_percent,
                            bool converged_report) {
  return converged_report ? chosen.twin_percent : file_twin_percent;
}

bootstrap::RunInput input_at_share(const bootstrap::RunInput& input, const bootstrap::Scan& scan,
                                   const ChosenShare& chosen) {
  bootstrap::RunInput at = input;
  if (!chosen.suggested) return at;
  for (const bootstrap::ScanRow& row : scan.rows) {
    if (row.twin_percent != chosen.twin_percent || !row.valid) continue;
    at.twin_percent = row.twin_percent;
    at.reference = row.tensor;
    break;
  }
  return at;
}

bootstrap::RunInput scan_input(const gemino::State& s, double crss_mpa) {
  bootstrap::RunInput in;
  in.rows = gemino::rows_of(s);
  in.row_grain.assign(s.record.row_grain, s.record.row_grain + in.rows.size());
  in.row_record.assign(s.record.row_grain_record, s.record.row_grain_record + in.rows.size());
  in.start_mode = s.start_mode;
  in.trial_count = s.trial_count;
  in.iteration_limit = s.iteration_limit;
  in.twin_percent = s.twin_percent;
  in.seed = s.record.seed;
  in.crss_mpa = crss_mpa;
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

nlohmann::ordered_json auto_json(const ChosenShare& chosen, const bootstrap::RunInput& at_share,
                                 int32_t report_percent, double crss_mpa) {
  const results::TensorResult& t = at_share.reference;
  nlohmann::ordered_json magnitudes = {{"crss_mpa", crss_mpa},
                                       {"differential_stress_mpa", nullptr},
                                       {"sigma2_minus_sigma3_mpa", nullptr}};
  if (const auto d = bootstrap::differential_mpa(t.threshold, crss_mpa)) {
    magnitudes["differential_stress_mpa"] = *d;
    magnitudes["sigma2_minus_sigma3_mpa"] = static_cast<double>(t.R) * *d;
  }
  const results::Regime regime = results::regime_of(t);
  magnitudes["regime"] = std::string(results::regime_name(regime));
  magnitudes["shmax_azimuth"] = results::shmax_azimuth(t, regime);
  magnitudes["shmax_horizontal_azimuth"] = results::shmax_horizontal_azimuth(t);
  return {{"twin_percent", chosen.twin_percent},
          {"suggested", chosen.suggested},
          {"reason", chosen.reason},
          {"report_twin_percent", report_percent},
          {"tensor",
           {{"sigma1", line_json(t.sigma1.line)},
            {"sigma2", line_json(t.sigma2.line)},
            {"sigma3", line_json(t.sigma3.line)},
            {"R", results::float_value(t.R)},
            {"threshold", results::float_value(t.threshold)},
            {"objective_reported_units", results::float_value(t.objective_reported_units)}}},
          {"magnitudes", magnitudes}};
}

std::string auto_text(const ChosenShare& chosen, int32_t report_percent) {
  return "Twins counted beyond the report: " + std::to_string(chosen.twin_percent) + " % (" +
         (chosen.suggested ? "suggested by the scan" : "the parameter file's") +
         "); the report counts " + std::to_string(report_percent) + " %\n";
}

}  // namespace cli
