// SPDX-License-Identifier: GPL-3.0-or-later
#include "bootstrap/auto_share.h"

#include <cstdio>

#include "bootstrap/confidence_text.h"
#include "bootstrap/converged_reference.h"
#include "results/json_export.h"
#include "results/magnitudes.h"

namespace bootstrap {

namespace {

nlohmann::ordered_json line_json(const results::Line& l) {
  return {{"trend", results::float_value(l.trend)}, {"plunge", results::float_value(l.plunge)}};
}

std::string axis_text(const results::Axis& a) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%03.0f/%02.0f", static_cast<double>(a.line.trend),
                static_cast<double>(a.line.plunge));
  return buf;
}

}  // namespace

ChosenShare choose_share(const Scan& scan, int32_t file_twin_percent) {
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

RunInput input_at_share(const RunInput& input, const Scan& scan, const ChosenShare& chosen) {
  RunInput at = input;
  if (!chosen.suggested) return at;
  for (const ScanRow& row : scan.rows) {
    if (row.twin_percent != chosen.twin_percent || !row.valid) continue;
    at.twin_percent = row.twin_percent;
    at.reference = row.tensor;
    break;
  }
  return at;
}

nlohmann::ordered_json auto_json(const ChosenShare& chosen, const RunInput& at_share,
                                 int32_t report_percent, int32_t file_twin_percent,
                                 double crss_mpa) {
  const results::TensorResult& t = at_share.reference;
  nlohmann::ordered_json magnitudes = {{"crss_mpa", crss_mpa},
                                       {"differential_stress_mpa", nullptr},
                                       {"sigma2_minus_sigma3_mpa", nullptr}};
  if (const auto d = differential_mpa(t.threshold, crss_mpa)) {
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
          {"magnitudes", magnitudes},
          {"file_twin_percent", file_twin_percent}};
}

std::string auto_text(const ChosenShare& chosen, int32_t report_percent) {
  return "Twins counted beyond the report: " + std::to_string(chosen.twin_percent) + " % (" +
         (chosen.suggested ? "suggested by the scan" : "the parameter file's") +
         "); the report counts " + std::to_string(report_percent) + " %\n";
}

std::string tensor_at_share_text(const RunInput& at_share) {
  const results::TensorResult& t = at_share.reference;
  char buf[240];
  std::snprintf(
      buf, sizeof buf, "Tensor at %d %%: sigma1 %s, sigma2 %s, sigma3 %s, R %.3f, SEUIL %.3f\n",
      at_share.twin_percent, axis_text(t.sigma1).c_str(), axis_text(t.sigma2).c_str(),
      axis_text(t.sigma3).c_str(), static_cast<double>(t.R), static_cast<double>(t.threshold));
  std::string out = buf;
  if (const auto d = differential_mpa(t.threshold, at_share.crss_mpa)) {
    std::snprintf(buf, sizeof buf,
                  "  Differential stress %.1f MPa, sigma2 - sigma3 %.1f MPa (CRSS %g MPa)\n", *d,
                  static_cast<double>(t.R) * *d, at_share.crss_mpa);
  } else {
    std::snprintf(buf, sizeof buf,
                  "  Differential stress undefined: SEUIL is not positive (CRSS %g MPa)\n",
                  at_share.crss_mpa);
  }
  out += buf;
  const results::Regime regime = results::regime_of(t);
  std::snprintf(buf, sizeof buf,
                "  Regime %s, SHmax %.0f deg by the regime table, %.0f deg by the largest "
                "horizontal compression\n",
                std::string(results::regime_name(regime)).c_str(),
                results::shmax_azimuth(t, regime), results::shmax_horizontal_azimuth(t));
  return out + buf;
}

AutoShare results_at_suggested_share(const RunInput& input, const ScanRange& range,
                                     const Options& bootstrap_options,
                                     const AutoProgress& progress) {
  AutoShare a;
  // Measured from the converged answer of the full data, as the bootstrap of the run is.
  const RunInput centred = centred_on_converged(input).input;
  auto told = [&progress](AutoStage stage) {
    return [&progress, stage](int32_t done, int32_t total) {
      return !progress || progress(stage, done, total);
    };
  };
  a.scan = run_scan(centred, range, bootstrap_options.jobs, told(AutoStage::scan));
  a.chosen = choose_share(a.scan, input.twin_percent);
  a.at_share = input_at_share(centred, a.scan, a.chosen);
  if (a.scan.cancelled) {
    a.cancelled = true;
    return a;
  }
  Options options = bootstrap_options;
  options.progress = told(AutoStage::bootstrap);
  a.summary = run_bootstrap(a.at_share, options);
  a.cancelled = a.summary.cancelled;
  return a;
}

std::string auto_share_text(const AutoShare& a, int32_t report_percent) {
  return scan_table_text(a.scan) + auto_text(a.chosen, report_percent) + "\n" +
         tensor_at_share_text(a.at_share) + "\n" + bootstrap_summary_text(a.summary);
}

}  // namespace bootstrap
