// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/json_export.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

#include "gemino/version.h"

namespace results {

using json = nlohmann::ordered_json;

std::string float_text(float v) {
  if (!std::isfinite(v)) return {};
  char buf[32];
  const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  return std::string(buf, end);
}

json float_value(float v) {
  const std::string text = float_text(v);
  if (text.empty()) return nullptr;
  return std::strtod(text.c_str(), nullptr);
}

namespace {

json double_value(double v) {
  if (!std::isfinite(v)) return nullptr;
  return v;
}

json vector_of(const float (&v)[3]) {
  return json::array({float_value(v[0]), float_value(v[1]), float_value(v[2])});
}

json line_of(const Line& l, const float (&v)[3]) {
  return {
      {"trend", float_value(l.trend)}, {"plunge", float_value(l.plunge)}, {"vector", vector_of(v)}};
}

json tensor_json(const TensorResult& t) {
  return {{"sigma1", line_of(t.sigma1.line, t.sigma1.vector)},
          {"sigma2", line_of(t.sigma2.line, t.sigma2.vector)},
          {"sigma3", line_of(t.sigma3.line, t.sigma3.vector)},
          {"R", float_value(t.R)},
          {"objective", float_value(t.objective)},
          {"objective_reported_units", float_value(t.objective_reported_units)},
          {"threshold", float_value(t.threshold)},
          {"threshold_index", t.threshold_index},
          {"params", json::array({float_value(t.params[0]), float_value(t.params[1]),
                                  float_value(t.params[2]), float_value(t.params[3])})}};
}

json parameters_json(const Parameters& p) {
  return {{"title", p.title},
          {"text", p.text},
          {"start_mode", p.start_mode},
          {"trial_count", p.trial_count},
          {"twin_percent", p.twin_percent},
          {"seed", p.seed},
          {"iteration_limit", p.iteration_limit},
          {"quiet_listing", p.quiet_listing},
          {"debug_flag", p.debug_flag},
          {"selection_mode", p.selection_mode},
          {"selection", p.selection}};
}

json counts_json(const Counts& c) {
  return {{"planes", c.planes},
          {"twinned", c.twinned},
          {"untwinned", c.untwinned},
          {"twin_limit", c.twin_limit},
          {"counted", c.counted},
          {"twinned_below", c.twinned_below},
          {"untwinned_ok", c.untwinned_ok},
          {"untwinned_violating", c.untwinned_violating},
          {"grains", c.grains},
          {"grains_kept", c.grains_kept},
          {"blocks", c.blocks}};
}

json stress_json(const StressMagnitudes& m) {
  json s = {{"crss_mpa", m.crss_mpa},
            {"differential_mpa", nullptr},
            {"differential_range_mpa", nullptr},
            {"sigma2_minus_sigma3_mpa", nullptr},
            {"deviatoric_mpa", nullptr},
            {"deviatoric_tensor_mpa", nullptr},
            {"tensor_frame", "east, north, up; compression positive"},
            {"largest_untwinned_tau", nullptr},
            {"regime", regime_name(m.regime)},
            {"shmax_azimuth", double_value(m.shmax_azimuth)},
            {"shmax_horizontal_azimuth", double_value(m.shmax_horizontal_azimuth)}};
  if (m.has_untwinned_below) s["largest_untwinned_tau"] = double_value(m.largest_untwinned_tau);
  if (!m.defined) return s;
  s["differential_mpa"] = double_value(m.differential_mpa);
  s["differential_range_mpa"] =
      json::array({double_value(m.differential_low_mpa),
                   m.has_upper ? double_value(m.differential_high_mpa) : json(nullptr)});
  s["sigma2_minus_sigma3_mpa"] = double_value(m.sigma2_minus_sigma3_mpa);
  s["deviatoric_mpa"] =
      json::array({double_value(m.deviatoric_mpa[0]), double_value(m.deviatoric_mpa[1]),
                   double_value(m.deviatoric_mpa[2])});
  json tensor = json::array();
  for (const auto& row : m.deviatoric_tensor_mpa) {
    tensor.push_back(
        json::array({double_value(row[0]), double_value(row[1]), double_value(row[2])}));
  }
  s["deviatoric_tensor_mpa"] = tensor;
  return s;
}

json plane_json(const Plane& p) {
  return {{"number", p.number},
          {"grain", p.grain},
          {"block", p.block},
          {"twinned", p.twinned},
          {"pole", line_of(p.pole, p.pole_vector)},
          {"glide", line_of(p.glide, p.glide_vector)},
          {"tau", float_value(p.tau)},
          {"rank", p.rank},
          {"class", class_name(p.cls)}};
}

}  // namespace

json to_json(const Result& r, const StressMagnitudes& m) {
  json planes = json::array();
  for (const Plane& p : r.planes) planes.push_back(plane_json(p));
  json grains = json::array();
  for (const Grain& g : r.grains) {
    grains.push_back(
        {{"number", g.number}, {"block", g.block}, {"c_axis", line_of(g.c_axis, g.vector)}});
  }
  return {{"schema_version", schema_version},
          {"program", {{"name", gemino::program_name}, {"version", gemino::program_version}}},
          {"parameters", parameters_json(r.parameters)},
          {"start", tensor_json(r.start)},
          {"result", tensor_json(r.result)},
          {"counts", counts_json(r.counts)},
          {"stress", stress_json(m)},
          {"warnings", r.warnings},
          {"planes", planes},
          {"grains", grains}};
}

std::string planes_csv(const Result& r) {
  std::string out =
      "number,grain,block,twinned,pole_trend,pole_plunge,pole_x,pole_y,pole_z,glide_trend,"
      "glide_plunge,glide_x,glide_y,glide_z,tau,rank,class\n";
  for (const Plane& p : r.planes) {
    out += std::to_string(p.number) + ',' + std::to_string(p.grain) + ',' +
           std::to_string(p.block) + ',' + (p.twinned ? "1" : "0");
    for (const auto* line : {&p.pole, &p.glide}) {
      const float(&v)[3] = line == &p.pole ? p.pole_vector : p.glide_vector;
      out += ',' + float_text(line->trend) + ',' + float_text(line->plunge);
      for (float c : v) out += ',' + float_text(c);
    }
    out += ',' + float_text(p.tau) + ',' + std::to_string(p.rank) + ',' +
           std::string(class_name(p.cls)) + '\n';
  }
  return out;
}

}  // namespace results
