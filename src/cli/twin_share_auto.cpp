#include "cli/twin_share_auto.h"

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
