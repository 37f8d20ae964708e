// SPDX-License-Identifier: GPL-3.0-or-later
#include "bootstrap/indistinct.h"

#include <cstdio>
#include <optional>
#include <vector>

namespace bootstrap {

namespace {

std::string format(const char* fmt, double a, double b = 0.0, double c = 0.0) {
  char buf[200];
  std::snprintf(buf, sizeof buf, fmt, a, b, c);
  return buf;
}

}  // namespace

gemino::ConvergedResult search_run_data(
    const RunInput& input, const gemino::ConvergedOptions& options,
    std::function<bool(gemino::ProgressStage, int32_t, int32_t)> progress) {
  gemino::InversionOptions run;
  run.start_mode = 1;
  run.trial_count = input.trial_count;
  run.twin_percent = input.twin_percent;
  run.seed = input.seed;
  run.iteration_limit = input.iteration_limit;
  run.progress = std::move(progress);
  gemino::ConvergedOptions with_report = options;
  const float* p = input.reference.params;
  with_report.candidates.push_back({p[0], p[1], p[2], p[3]});
  return gemino::invert_converged(input.rows, run, with_report);
}

std::string extent_text(const gemino::SetExtent& e, double crss_mpa, float tolerance) {
  std::string out = "Tensors the data cannot tell apart (objective within " +
                    format("%g", static_cast<double>(tolerance)) +
                    " of the best): " + std::to_string(e.tensors) + "\n";
  if (e.tensors < 2) {
    out +=
        "  no second search reached the best objective: how far the set reaches is not "
        "known\n";
    return out;
  }
  out += format("  sigma1 axes within %.1f deg, sigma3 axes within %.1f deg\n", e.sigma1_deg,
                e.sigma3_deg);
  out += format("  R %.3f to %.3f, ", static_cast<double>(e.r_min), static_cast<double>(e.r_max));
  out += format("SEUIL %.4f to %.4f, ", static_cast<double>(e.threshold_min),
                static_cast<double>(e.threshold_max));
  // The differential stress falls as the threshold rises.
  const std::optional<double> low = differential_mpa(e.threshold_max, crss_mpa);
  const std::optional<double> high = differential_mpa(e.threshold_min, crss_mpa);
  out += low && high ? format("differential stress %.1f to %.1f MPa\n", *low, *high)
                     : std::string("differential stress undefined (SEUIL not positive)\n");
  out +=
      "  These tensors fit the data equally well: a wide set, even from noise-free data, is\n"
      "  not a failure of the search but what the data allow.\n";
  return out;
}

std::string extent_text(const gemino::ConvergedResult& search, double crss_mpa, float tolerance) {
  const std::vector<gemino::InvertedTensor> set = gemino::indistinct_set(search, tolerance);
  return extent_text(gemino::set_extent(set), crss_mpa, tolerance);
}

}  // namespace bootstrap
