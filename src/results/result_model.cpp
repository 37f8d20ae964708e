// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/result_model.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "gemino/objective.h"
#include "gemino/tensor.h"
#include "results/text_encoding.h"

namespace results {

namespace {

int32_t rows_in_use(const gemino::State& s) {
  return s.data_count < 0 ? 0 : (s.data_count > gemino::max_rows ? gemino::max_rows : s.data_count);
}

// A text line of the parameter file as the outputs give it: trailing blanks removed, in
// UTF-8 whatever bytes the file held.
std::string text_line(const char* text, int32_t length) {
  const bool full = length > 0 && text[length - 1] != ' ' && text[length - 1] != '\0';
  std::string out = output_text(std::string_view(text, static_cast<std::size_t>(length)), full);
  const std::size_t end = out.find_last_not_of(' ');
  out.resize(end == std::string::npos ? 0 : end + 1);
  return out;
}

// The axes of a reported tensor, computed as the report computes them (on a scratch copy
// of the state, whose axis matrix they overwrite).
TensorResult tensor_of(const gemino::State& s, const gemino::TensorRecord& record) {
  auto scratch = std::make_unique<gemino::State>(s);
  float x[4];
  for (int32_t k = 0; k < 4; ++k) x[k] = record.params[k];
  gemino::fill_axis_matrix(*scratch, x);
  TensorResult t{};
  Axis* axes[3] = {&t.sigma1, &t.sigma2, &t.sigma3};
  for (int32_t j = 0; j < 3; ++j) {
    gemino::axis_direction_plunge(*scratch, j, axes[j]->line.trend, axes[j]->line.plunge);
    for (int32_t k = 0; k < 3; ++k) axes[j]->vector[k] = scratch->axis_matrix[j][k];
  }
  t.R = record.params[3];
  t.objective = record.objective;
  t.threshold = record.threshold;
  t.threshold_index = record.threshold_index;
  for (int32_t k = 0; k < 4; ++k) t.params[k] = record.params[k];
  // The tensor scored as it stands: the search parameters are those after renaming. Rows
  // beyond the storage could not have been ranked, and the report's value stands.
  t.objective_reported_units = record.objective;
  if (scratch->data_count == gemino::rows_in_storage(scratch->data_count)) {
    gemino::objective(*scratch, x, t.objective_reported_units);
  }
  return t;
}

Parameters parameters_of(const gemino::State& s) {
  Parameters p;
  for (int32_t k = 0; k < gemino::text_line_count; ++k) {
    p.text[static_cast<std::size_t>(k)] = text_line(s.record.text[k], gemino::text_line_length);
  }
  p.title = p.text[0];
  p.start_mode = s.start_mode;
  p.trial_count = s.trial_count;
  p.twin_percent = s.twin_percent;
  p.seed = s.record.seed;
  p.iteration_limit = s.iteration_limit;
  p.quiet_listing = s.quiet_listing;
  p.debug_flag = s.debug_flag;
  p.selection_mode = s.selection_mode;
  if (s.selection_mode != 0) {
    const int32_t n = s.selection_count < 0                       ? 0
                      : s.selection_count > gemino::max_selection ? gemino::max_selection
                                                                  : s.selection_count;
    p.selection.assign(s.selection_list, s.selection_list + n);
  }
  return p;
}

PlaneClass class_of(bool twinned, bool above_threshold) {
  if (twinned) return above_threshold ? PlaneClass::counted : PlaneClass::twinned_below;
  return above_threshold ? PlaneClass::untwinned_violating : PlaneClass::untwinned_ok;
}

std::string number_text(double v) {
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

std::vector<std::string> warnings_of(const Result& r) {
  std::vector<std::string> out;
  const Counts& c = r.counts;
  const int32_t percent = r.parameters.twin_percent;
  if (c.twinned == 0) {
    out.push_back("no plane is twinned: nothing constrains the tensor");
  } else if (percent < 1 || percent > 100) {
    out.push_back("the share of twins to count, " + std::to_string(percent) +
                  " %, is outside 1 to 100: the tensor is not constrained as asked");
  } else if (c.twin_limit < 1) {
    out.push_back(std::to_string(percent) + " % of " + std::to_string(c.twinned) +
                  " twinned planes counts none of them: nothing constrains the tensor");
  }
  const float values[] = {r.result.objective, r.result.threshold, r.result.R};
  const char* names[] = {"objective", "threshold (SEUIL)", "R"};
  for (int32_t k = 0; k < 3; ++k) {
    const float v = values[k];
    // A threshold never reached leaves an objective near the end of the float range.
    if (!std::isfinite(v) || std::fabs(v) >= 1e15f) {
      out.push_back(std::string("the ") + names[k] + " of the optimised tensor is " +
                    (std::isnan(v) ? std::string("not a number") : number_text(v)) +
                    ": the result is not usable");
    }
  }
  if (c.grains_kept < c.grains) {
    out.push_back("the data file holds " + std::to_string(c.grains) +
                  " c-axis records: the results keep the first " + std::to_string(c.grains_kept));
  }
  return out;
}

}  // namespace

std::string_view class_name(PlaneClass cls) {
  switch (cls) {
    case PlaneClass::counted:
      return "counted";
    case PlaneClass::twinned_below:
      return "twinned_below";
    case PlaneClass::untwinned_ok:
      return "untwinned_ok";
    case PlaneClass::untwinned_violating:
      return "untwinned_violating";
  }
  return "";
}

Line line_of(const float (&v)[3]) {
  double x = v[0], y = v[1], z = v[2];
  if (z > 0.0) {
    x = -x;
    y = -y;
    z = -z;
  }
  const double degrees = 180.0 / 3.14159265358979323846;
  const double norm = std::sqrt(x * x + y * y + z * z);
  if (!(norm > 0.0)) return {0.0f, 0.0f};
  double trend = std::atan2(x, y) * degrees;
  if (trend < 0.0) trend += 360.0;
  if (trend >= 360.0) trend -= 360.0;
  const double s = -z / norm;
  const double plunge = std::asin(s > 1.0 ? 1.0 : s) * degrees;
  return {static_cast<float>(trend), static_cast<float>(plunge)};
}

bool has_result(const gemino::State& s) {
  return s.record.completed;
}

Result build_result(const gemino::State& s) {
  Result r;
  r.parameters = parameters_of(s);
  r.start = tensor_of(s, s.record.start);
  r.result = tensor_of(s, s.record.final);

  // The ranking left by the last scoring is the one of the optimised tensor.
  const int32_t n = rows_in_use(s);
  r.planes.resize(static_cast<std::size_t>(n));
  for (int32_t l = 0; l < n; ++l) {
    const int32_t row = s.shear_order[l];
    if (row < 1 || row > n) continue;
    Plane& p = r.planes[static_cast<std::size_t>(row - 1)];
    p.rank = l + 1;
    p.tau = s.shear_list[l];
  }
  Counts& c = r.counts;
  c.planes = n;
  c.twin_limit = s.twin_limit;
  for (int32_t i = 0; i < n; ++i) {
    Plane& p = r.planes[static_cast<std::size_t>(i)];
    p.number = s.data_number[i];
    p.grain = s.record.row_grain[i];
    p.block = s.record.row_block[i];
    p.twinned = s.twin_flag[i] > 0;
    for (int32_t k = 0; k < 3; ++k) {
      p.pole_vector[k] = s.pole[i][k];
      p.glide_vector[k] = s.glide[i][k];
    }
    p.pole = line_of(p.pole_vector);
    p.glide = line_of(p.glide_vector);
    p.cls = class_of(p.twinned, p.rank >= 1 && p.rank <= r.result.threshold_index);
    ++(p.twinned ? c.twinned : c.untwinned);
    switch (p.cls) {
      case PlaneClass::counted:
        ++c.counted;
        break;
      case PlaneClass::twinned_below:
        ++c.twinned_below;
        break;
      case PlaneClass::untwinned_ok:
        ++c.untwinned_ok;
        break;
      case PlaneClass::untwinned_violating:
        ++c.untwinned_violating;
        break;
    }
    if (p.block > c.blocks) c.blocks = p.block;
  }

  const int32_t all_grains = s.record.grain_count < 0 ? 0 : s.record.grain_count;
  const int32_t grains =
      all_grains > gemino::max_grain_records ? gemino::max_grain_records : all_grains;
  for (int32_t g = 0; g < grains; ++g) {
    Grain grain{};
    grain.number = s.record.grain_number[g];
    grain.block = s.record.grain_block[g];
    for (int32_t k = 0; k < 3; ++k) grain.vector[k] = s.record.c_axis[g][k];
    grain.c_axis = line_of(grain.vector);
    if (grain.block > c.blocks) c.blocks = grain.block;
    r.grains.push_back(grain);
  }
  c.grains = all_grains;
  c.grains_kept = grains;
  r.warnings = warnings_of(r);
  return r;
}

TensorResult tensor_result(const gemino::InvertedTensor& t) {
  TensorResult r{};
  Axis* axes[3] = {&r.sigma1, &r.sigma2, &r.sigma3};
  for (int32_t j = 0; j < 3; ++j) {
    for (int32_t k = 0; k < 3; ++k) axes[j]->vector[k] = t.axes[j][k];
    axes[j]->line = line_of(axes[j]->vector);
  }
  r.R = t.tensor.params[3];
  r.objective = t.tensor.objective;
  r.objective_reported_units = t.objective_reported;
  r.threshold = t.tensor.threshold;
  r.threshold_index = t.tensor.threshold_index;
  for (int32_t k = 0; k < 4; ++k) r.params[k] = t.tensor.params[k];
  return r;
}

}  // namespace results
