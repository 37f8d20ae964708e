// SPDX-License-Identifier: GPL-3.0-or-later
#include "bootstrap/confidence_text.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "results/json_export.h"

namespace bootstrap {

namespace {

using json = nlohmann::ordered_json;

json number_json(double v) {
  if (!std::isfinite(v)) return nullptr;
  return v;
}

json number_json(const std::optional<double>& v) {
  return v ? number_json(*v) : json(nullptr);
}

json interval_json(const Interval& i) {
  return json::array({number_json(i.low), number_json(i.high)});
}

json interval_json(const std::optional<Interval>& i) {
  return i ? interval_json(*i) : json(nullptr);
}

// A value of a text table; "undefined" when there is none, or it is not finite or past
// any meaning (a threshold never reached leaves an objective near the float range's end).
std::string value_text(const char* fmt, const std::optional<double>& v) {
  if (!v || !std::isfinite(*v) || std::fabs(*v) >= 1e15) return "undefined";
  char buf[64];
  std::snprintf(buf, sizeof buf, fmt, *v);
  return buf;
}

json line_json(const results::Line& l) {
  return {{"trend", results::float_value(l.trend)}, {"plunge", results::float_value(l.plunge)}};
}

std::string format(const char* fmt, double a, double b = 0.0, double c = 0.0) {
  char buf[160];
  std::snprintf(buf, sizeof buf, fmt, a, b, c);
  return buf;
}

}  // namespace

json bootstrap_json(const Summary& s) {
  json j;
  j["B"] = s.resamples;
  j["seed"] = s.seed;
  j["inverted"] = s.resamples - s.invalid;
  j["redrawn"] = s.redrawn;
  j["too_many_planes"] = s.too_many_planes;
  j["differential_undefined"] = s.undefined_differential;
  j["at_full_data_tensor"] = s.at_candidate;
  j["unconverged"] = s.unconverged;
  // What the cones are centred on: the run's tensor, or the converged search's answer
  // when that fits the data better.
  j["centre"] = {{"source", s.centre_converged ? "converged search" : "run"},
                 {"sigma1", line_json(s.centre.sigma1.line)},
                 {"sigma2", line_json(s.centre.sigma2.line)},
                 {"sigma3", line_json(s.centre.sigma3.line)},
                 {"R", results::float_value(s.centre.R)},
                 {"threshold", results::float_value(s.centre.threshold)}};
  const char* names[3] = {"sigma1", "sigma2", "sigma3"};
  for (std::size_t k = 0; k < 3; ++k) j[names[k]] = {{"cone95_deg", s.cone95_deg[k]}};
  j["R_interval"] = interval_json(s.R);
  j["threshold_interval"] = interval_json(s.threshold);
  j["differential_mpa_interval"] = interval_json(s.differential_mpa);
  // The CRSS range each resample drew from; null when they all took the run's CRSS.
  j["crss_range_mpa"] =
      s.crss_range ? json::array({s.crss_range->low_mpa, s.crss_range->high_mpa}) : json(nullptr);
  j["shmax_spread_deg"] = s.shmax_spread_deg;
  json influence = json::array();
  for (std::size_t k = 0; k < s.influence.size() && k < listed_grains; ++k) {
    const GrainInfluence& g = s.influence[k];
    influence.push_back({{"grain", g.grain},
                         {"sigma1_deg", g.sigma1_deg},
                         {"sigma3_deg", g.sigma3_deg},
                         {"delta_R", g.delta_R},
                         {"objective_gain", g.objective_gain}});
  }
  j["influence"] = influence;
  j["left_out"] = s.left_out;
  j["left_out_unconverged"] = s.left_out_unconverged;
  return j;
}

json scan_json(const Scan& scan, int32_t run_twin_percent) {
  json rows = json::array();
  for (const ScanRow& r : scan.rows) {
    json row;
    row["twin_percent"] = r.twin_percent;
    row["inverted"] = r.valid;
    if (r.valid) {
      row["sigma1"] = line_json(r.tensor.sigma1.line);
      row["sigma2"] = line_json(r.tensor.sigma2.line);
      row["sigma3"] = line_json(r.tensor.sigma3.line);
      row["R"] = results::float_value(r.tensor.R);
      row["threshold"] = results::float_value(r.tensor.threshold);
      row["differential_mpa"] = number_json(r.differential_mpa);
      row["objective"] = results::float_value(r.tensor.objective);
      row["objective_reported_units"] = results::float_value(r.tensor.objective_reported_units);
      row["twins_counted"] = r.twins_counted;
      row["from_neighbour"] = r.from_neighbour;
      row["incompatible_twins"] = r.incompatible_twins;
      row["untwinned_above_threshold"] = r.untwinned_above;
      row["sigma1_to_run_deg"] = r.sigma1_to_run_deg;
      row["sigma3_to_run_deg"] = r.sigma3_to_run_deg;
    }
    rows.push_back(row);
  }
  json suggestion = nullptr;
  if (scan.suggestion) {
    suggestion = {{"twin_percent", scan.suggestion->twin_percent},
                  {"untwinned_per_twinned", scan.suggestion->reference_rate},
                  {"window_twins", share_window(scan.twinned_planes)},
                  {"reason", scan.suggestion->reason}};
  }
  return {{"range", json::array({scan.range.first, scan.range.last, scan.range.step})},
          {"run_twin_percent", run_twin_percent},
          {"twinned_planes", scan.twinned_planes},
          {"untwinned_planes", scan.untwinned_planes},
          {"rows", rows},
          {"suggested", suggestion}};
}

std::string resamples_csv(const Summary& s) {
  std::string out = "resample";
  for (const char* a : {"sigma1", "sigma2", "sigma3"}) {
    for (const char* f : {"trend", "plunge", "x", "y", "z"}) out += std::string(",") + a + "_" + f;
  }
  out += ",R,threshold,differential_mpa\n";
  for (std::size_t i = 0; i < s.samples.size(); ++i) {
    const Sample& x = s.samples[i];
    if (!x.valid) continue;
    out += std::to_string(i + 1);
    for (const auto& axis : x.axes) {
      const results::Line l = results::line_of(axis);
      for (const float v : {l.trend, l.plunge, axis[0], axis[1], axis[2]}) {
        out += "," + results::float_text(v);
      }
    }
    out += "," + results::float_text(x.R) + "," + results::float_text(x.threshold) + "," +
           (x.differential_mpa ? format("%.6g", *x.differential_mpa) : std::string()) + "\n";
  }
  return out;
}

std::string bootstrap_summary_text(const Summary& s) {
  std::string out = "Bootstrap over grains: " + std::to_string(s.resamples - s.invalid) + " of " +
                    std::to_string(s.resamples) + " resamples, seed " + std::to_string(s.seed) +
                    (s.cancelled ? " (cancelled)" : "") + "\n";
  if (s.redrawn > 0) {
    out += "  " + std::to_string(s.redrawn) + " resamples drawn again: more than " +
           std::to_string(gemino::max_rows) + " planes";
    if (s.too_many_planes > 0) {
      out += " (" + std::to_string(s.too_many_planes) + " given up after " +
             std::to_string(max_redraws) + " draws)";
    }
    out += "\n";
  }
  if (s.undefined_differential > 0) {
    out += "  " + std::to_string(s.undefined_differential) +
           " resamples with SEUIL not positive: differential stress undefined\n";
  }
  if (s.at_candidate > 0 || s.unconverged > 0) {
    out += "  " + std::to_string(s.at_candidate) + " resamples ended at the full-data tensor, " +
           std::to_string(s.unconverged) + " searches not converged\n";
  }
  if (s.centre_converged) {
    char buf[200];
    std::snprintf(buf, sizeof buf,
                  "  Centred on the converged search's tensor, which fits the data better than "
                  "the report's: sigma1 %03.0f/%02.0f, sigma3 %03.0f/%02.0f, R %.3f\n",
                  static_cast<double>(s.centre.sigma1.line.trend),
                  static_cast<double>(s.centre.sigma1.line.plunge),
                  static_cast<double>(s.centre.sigma3.line.trend),
                  static_cast<double>(s.centre.sigma3.line.plunge),
                  static_cast<double>(s.centre.R));
    out += buf;
  }
  out += format("  95%% cones: sigma1 %.1f deg, sigma2 %.1f deg, sigma3 %.1f deg\n",
                s.cone95_deg[0], s.cone95_deg[1], s.cone95_deg[2]);
  out += format("  R 95%% interval: %.3f to %.3f\n", s.R.low, s.R.high);
  out += format("  SEUIL 95%% interval: %.3f to %.3f\n", s.threshold.low, s.threshold.high);
  if (s.differential_mpa) {
    // The upper end is infinite when too many resamples leave no untwinned plane with a
    // positive resolved shear stress below their threshold: nothing bounds it from above.
    out += std::isfinite(s.differential_mpa->high)
               ? format("  Differential stress 95%% interval: %.1f to %.1f MPa",
                        s.differential_mpa->low, s.differential_mpa->high)
               : format("  Differential stress 95%% interval: %.1f MPa and above, no upper end",
                        s.differential_mpa->low);
    out += s.crss_range ? format(" (CRSS drawn from %g to %g MPa)\n", s.crss_range->low_mpa,
                                 s.crss_range->high_mpa)
                        : "\n";
  } else {
    out += "  Differential stress 95% interval: undefined\n";
  }
  out += format("  SHmax spread: %.1f deg\n", s.shmax_spread_deg);
  if (s.left_out > 0) {
    out += "  Grains left out: " + std::to_string(s.left_out) + ", " +
           std::to_string(s.influence.size()) + " influential";
    if (s.left_out_unconverged > 0) {
      out += " (" + std::to_string(s.left_out_unconverged) + " searches not converged)";
    }
    out += "\n";
  }
  if (!s.influence.empty())
    out += "  Most influential grains (left out: sigma1, sigma3, R change):\n";
  for (std::size_t k = 0; k < s.influence.size() && k < listed_grains; ++k) {
    const GrainInfluence& g = s.influence[k];
    out += "    grain " + std::to_string(g.grain) +
           format(": %.1f deg, %.1f deg, %+.3f\n", g.sigma1_deg, g.sigma3_deg, g.delta_R);
  }
  return out;
}

std::string scan_table_text(const Scan& scan) {
  std::string out =
      "Twins counted  sigma1    sigma3    R      SEUIL   Diff.MPa  Objective  Untw.above  "
      "s1 angle  s3 angle\n";
  for (const ScanRow& r : scan.rows) {
    char buf[200];
    if (!r.valid) {
      std::snprintf(buf, sizeof buf, "%8d %%     not inverted\n", r.twin_percent);
    } else {
      const std::optional<double> objective = r.tensor.objective_reported_units;
      std::snprintf(buf, sizeof buf,
                    "%8d %%     %03.0f/%02.0f    %03.0f/%02.0f    %.3f  %.3f  %8s  %9s  %10d  "
                    "%8.1f  %8.1f\n",
                    r.twin_percent, r.tensor.sigma1.line.trend, r.tensor.sigma1.line.plunge,
                    r.tensor.sigma3.line.trend, r.tensor.sigma3.line.plunge, r.tensor.R,
                    r.tensor.threshold, value_text("%.1f", r.differential_mpa).c_str(),
                    value_text("%.2f", objective).c_str(), r.untwinned_above, r.sigma1_to_run_deg,
                    r.sigma3_to_run_deg);
    }
    out += buf;
    if (scan.suggestion && &r == &scan.rows[static_cast<std::size_t>(scan.suggestion->row)]) {
      out.insert(out.size() - 1, "  <- suggested");
    }
  }
  if (scan.suggestion) {
    out += "Suggested share of twins to count: " + std::to_string(scan.suggestion->twin_percent) +
           " % (" + scan.suggestion->reason + ")\n";
  }
  return out;
}

}  // namespace bootstrap
