// SPDX-License-Identifier: GPL-3.0-or-later
#include "separation/outputs.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "results/json_export.h"
#include "separation/model_choice.h"
#include "separation/planes.h"

namespace separation {

namespace {

nlohmann::ordered_json line_json(const results::Line& l) {
  return {{"trend", results::float_value(l.trend)}, {"plunge", results::float_value(l.plunge)}};
}

// The differential stress for the CRSS, when the threshold gives one.
nlohmann::ordered_json differential(float threshold, double crss_mpa) {
  if (!(threshold > 0.0f)) return nullptr;
  const double d = crss_mpa / static_cast<double>(threshold);
  if (!std::isfinite(d)) return nullptr;
  return d;
}

std::string axis_text(const results::Line& l) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%03.0f/%02.0f", static_cast<double>(l.trend),
                static_cast<double>(l.plunge));
  return buf;
}

}  // namespace

std::string permutation_text(const Permutation& p) {
  char buf[320];
  std::snprintf(buf, sizeof buf,
                "tensors %d and %d of the %d-tensor fit at %d %% of twins share sigma 3 (%.1f "
                "degrees apart) and one has R above %.1f: they may be one oblate tensor (a "
                "stress permutation) rather than two events",
                p.first + 1, p.second + 1, p.tensors, p.share, p.sigma3_angle_deg,
                static_cast<double>(oblate_r));
  return buf;
}

nlohmann::ordered_json tensors_json(const Separation& s, const std::string& asked,
                                    double crss_mpa) {
  nlohmann::ordered_json j;
  j["K"] = s.chosen;
  j["asked"] = asked;
  j["share_percent"] = s.share;
  j["planes"] = s.planes;
  j["twinned"] = s.twinned;
  j["rule"] = {{"bic", "-2 log L + 5 K ln N, log L = e ln(e/N) + (N - e) ln(1 - e/N)"},
               {"bic_drop_more_than", bic_drop_needed},
               {"new_twins_at_least_percent", share_needed_percent}};
  nlohmann::ordered_json tried = nlohmann::ordered_json::array();
  for (std::size_t k = 0; k < s.tried.size(); ++k) {
    tried.push_back(
        {{"K", static_cast<int32_t>(k + 1)}, {"bic", s.bic[k]}, {"unexplained", s.unexplained[k]}});
  }
  j["bic"] = tried;
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (std::size_t k = 0; k < s.tensors.size(); ++k) {
    const Tensor& t = s.tensors[k];
    const results::TensorResult r = tensor_result(t.tensor);
    const double share =
        s.twinned > 0 ? static_cast<double>(t.twinned_given) / static_cast<double>(s.twinned) : 0.0;
    list.push_back({{"tensor", static_cast<int32_t>(k + 1)},
                    {"sigma1", line_json(r.sigma1.line)},
                    {"sigma2", line_json(r.sigma2.line)},
                    {"sigma3", line_json(r.sigma3.line)},
                    {"R", results::float_value(r.R)},
                    {"threshold", results::float_value(r.threshold)},
                    {"objective_reported_units", results::float_value(r.objective_reported_units)},
                    {"crss_mpa", crss_mpa},
                    {"differential_stress_mpa", differential(r.threshold, crss_mpa)},
                    {"twinned_given", t.twinned_given},
                    {"twinned_explained", t.twinned_explained},
                    {"share_of_twinned", share},
                    {"planes", static_cast<int32_t>(t.rows.size())}});
  }
  j["tensors"] = list;
  nlohmann::ordered_json warnings = nlohmann::ordered_json::array();
  for (const Permutation& p : s.permutations) {
    warnings.push_back({{"share_percent", p.share},
                        {"K", p.tensors},
                        {"tensors", {p.first + 1, p.second + 1}},
                        {"sigma3_angle_deg", p.sigma3_angle_deg},
                        {"message", permutation_text(p)},
                        {"refined", p.refined}});
  }
  j["permutation_warning"] = warnings;
  return j;
}

std::string tensors_summary(const Separation& s, double crss_mpa) {
  std::string out;
  char buf[400];
  std::snprintf(buf, sizeof buf, "TENSORS: K = %d (share of twins %d %%; BIC", s.chosen, s.share);
  out += buf;
  for (std::size_t k = 0; k < 3; ++k) {
    if (k < s.tried.size()) {
      std::snprintf(buf, sizeof buf, " K=%d %.1f", static_cast<int>(k + 1), s.bic[k]);
    } else {
      std::snprintf(buf, sizeof buf, " K=%d -", static_cast<int>(k + 1));
    }
    out += buf;
  }
  out += ")\n";
  for (std::size_t k = 0; k < s.tensors.size(); ++k) {
    const Tensor& t = s.tensors[k];
    const results::TensorResult r = tensor_result(t.tensor);
    const nlohmann::ordered_json d = differential(r.threshold, crss_mpa);
    char stress[40] = "-";
    if (!d.is_null()) std::snprintf(stress, sizeof stress, "%.1f MPa", d.get<double>());
    const double share = s.twinned > 0 ? 100.0 * t.twinned_given / s.twinned : 0.0;
    std::snprintf(buf, sizeof buf,
                  "TENSOR %d: SIGMA 1 %s  SIGMA 2 %s  SIGMA 3 %s  R %.3f  SEUIL %.4f  "
                  "DIFFERENTIAL STRESS %s  TWINS %d (%.0f %%)\n",
                  static_cast<int>(k + 1), axis_text(r.sigma1.line).c_str(),
                  axis_text(r.sigma2.line).c_str(), axis_text(r.sigma3.line).c_str(),
                  static_cast<double>(r.R), static_cast<double>(r.threshold), stress,
                  t.twinned_given, share);
    out += buf;
  }
  for (const Permutation& p : s.permutations) out += "WARNING: " + permutation_text(p) + "\n";
  return out;
}

results::Result result_under(const results::Result& base, std::span<const gemino::PlaneRow> rows,
                             const Tensor& tensor) {
  results::Result r = base;
  r.result = tensor_result(tensor.tensor);
  const std::vector<float> tau = shear_values(rows, tensor.tensor);
  const float threshold = tensor.tensor.tensor.threshold;
  const std::size_t n = std::min(tau.size(), r.planes.size());
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&tau](std::size_t a, std::size_t b) { return tau[a] > tau[b]; });
  for (std::size_t k = 0; k < n; ++k) r.planes[order[k]].rank = static_cast<int32_t>(k + 1);
  results::Counts& c = r.counts;
  c.counted = c.twinned_below = c.untwinned_ok = c.untwinned_violating = 0;
  for (std::size_t i = 0; i < n; ++i) {
    results::Plane& p = r.planes[i];
    p.tau = tau[i];
    const bool above = at_or_above(tau[i], threshold);
    if (p.twinned) {
      p.cls = above ? results::PlaneClass::counted : results::PlaneClass::twinned_below;
      ++(above ? c.counted : c.twinned_below);
    } else {
      p.cls = above ? results::PlaneClass::untwinned_violating : results::PlaneClass::untwinned_ok;
      ++(above ? c.untwinned_violating : c.untwinned_ok);
    }
  }
  return r;
}

}  // namespace separation
