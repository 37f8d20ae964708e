// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/converged.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>

#include "gemino/margin.h"
#include "gemino/objective.h"
#include "gemino/report.h"
#include "gemino/tensor.h"

namespace gemino {

namespace {

// splitmix64: a well-mixed 64-bit value from a 64-bit state.
uint64_t mix(uint64_t z) {
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// The restarts that reached `best`: those whose objective lies within the tolerance above.
int32_t count_at(const std::vector<float>& values, float best, float tolerance) {
  int32_t n = 0;
  for (const float v : values) n += (v - best <= tolerance) ? 1 : 0;
  return n;
}

}  // namespace

int32_t restart_seed(int32_t run_seed, int32_t index) {
  const uint64_t seed = static_cast<uint32_t>(run_seed);
  const uint64_t i = static_cast<uint32_t>(index);
  const uint64_t z = mix(seed * 0x9E3779B97F4A7C15ull ^ (i + 1) * 0xD1B54A32D192ED03ull);
  // 30 bits, the lowest set: odd, positive and below 2^30.
  return static_cast<int32_t>((z >> 34) | 1u);
}

InvertedTensor score_tensor(State& s, const std::array<float, 4>& params) {
  float x[4] = {params[0], params[1], params[2], params[3]};
  InvertedTensor t{};
  float f = 0.0f;
  objective(s, x, f);
  float rescored = f;
  bring_r_into_range(s, x, &rescored);
  for (int32_t k = 0; k < 4; ++k) t.tensor.params[k] = x[k];
  t.tensor.objective = f;
  t.objective_reported = rescored;
  t.tensor.threshold = s.threshold;
  t.tensor.threshold_index = s.threshold_index;
  keep_ranking(s);
  fill_axis_matrix(s, x);
  for (int32_t j = 0; j < 3; ++j) {
    for (int32_t k = 0; k < 3; ++k) t.axes[j][k] = s.axis_matrix[j][k];
  }
  return t;
}

ConvergedResult invert_converged(std::span<const PlaneRow> rows, const InversionOptions& options,
                                 const ConvergedOptions& converged, State& s) {
  ConvergedResult out;
  const int32_t cap = converged.max_restarts > 1 ? converged.max_restarts : 1;
  InversionOptions one = options;
  one.start_mode = 1;
  one.start_records.clear();
  std::vector<InvertedTensor> candidates;
  float best_candidate = std::numeric_limits<float>::infinity();
  float best_restart = std::numeric_limits<float>::infinity();
  const int32_t needed = std::max(2, converged.restarts_at_best);
  for (int32_t i = 0; i < cap; ++i) {
    one.seed = restart_seed(options.seed, i);
    const InversionResult r = invert(rows, one, s);
    if (r.status != InversionStatus::done) {
      out.status = r.status;
      return out;
    }
    if (i == 0) {
      // The state now holds the rows: the candidates are scored on them once.
      for (const std::array<float, 4>& c : converged.candidates) {
        candidates.push_back(score_tensor(s, c));
        const float v = candidates.back().objective_reported;
        out.candidate_objectives.push_back(v);
        if (v < best_candidate) best_candidate = v;
      }
    }
    const float v = r.final.objective_reported;
    out.restart_objectives.push_back(v);
    out.restart_tensors.push_back(r.final);
    ++out.restarts;
    if (out.best_restart < 0 || v < best_restart) {
      out.best_restart = i;
      out.best = r.final;
      best_restart = v;
    }
    const float best = best_candidate < best_restart ? best_candidate : best_restart;
    if (count_at(out.restart_objectives, best, converged.tolerance) >= needed) break;
  }
  if (needed > 2 && out.best_restart >= 0) {
    const int32_t central = central_restart(out, best_restart, best_candidate, converged.tolerance);
    if (central >= 0) {
      out.best_restart = central;
      out.best = out.restart_tensors[static_cast<std::size_t>(central)];
      best_restart = out.best.objective_reported;
    }
  }
  // A candidate is the answer only when it scores strictly lower than every restart.
  if (best_candidate < best_restart) {
    for (std::size_t j = 0; j < candidates.size(); ++j) {
      if (candidates[j].objective_reported == best_candidate) {
        out.best = candidates[j];
        out.best_candidate = static_cast<int32_t>(j);
        out.best_restart = -1;
        break;
      }
    }
  }
  out.restarts_at_best =
      count_at(out.restart_objectives, out.best.objective_reported, converged.tolerance);
  if (converged.widest_margin) out.best = widen_margin(s, out.best);
  // Leaves the ranking under the answer, as invert leaves the one under its tensor.
  float x[4];
  for (int32_t k = 0; k < 4; ++k) x[k] = out.best.tensor.params[k];
  float f = 0.0f;
  objective(s, x, f);
  keep_ranking(s);
  return out;
}

ConvergedResult invert_converged(std::span<const PlaneRow> rows, const InversionOptions& options,
                                 const ConvergedOptions& converged) {
  const auto state = std::make_unique<State>();
  return invert_converged(rows, options, converged, *state);
}

double axial_angle_deg(const float a[3], const float b[3]) {
  double dot = 0.0;
  double aa = 0.0;
  double bb = 0.0;
  for (int32_t k = 0; k < 3; ++k) {
    dot += static_cast<double>(a[k]) * static_cast<double>(b[k]);
    aa += static_cast<double>(a[k]) * static_cast<double>(a[k]);
    bb += static_cast<double>(b[k]) * static_cast<double>(b[k]);
  }
  if (!(aa > 0.0) || !(bb > 0.0)) return 0.0;
  const double c = std::min(1.0, std::fabs(dot) / std::sqrt(aa * bb));
  return std::acos(c) * 180.0 / std::acos(-1.0);
}

int32_t central_restart(const ConvergedResult& search, float best, float ceiling, float tolerance) {
  std::vector<std::size_t> tied;
  for (std::size_t i = 0; i < search.restart_objectives.size(); ++i) {
    const float v = search.restart_objectives[i];
    if (v - best <= tolerance && v <= ceiling) tied.push_back(i);
  }
  if (tied.size() < 3) return -1;
  int32_t central = -1;
  double least = std::numeric_limits<double>::infinity();
  for (const std::size_t i : tied) {
    const InvertedTensor& a = search.restart_tensors[i];
    double sum = 0.0;
    for (const std::size_t j : tied) {
      const InvertedTensor& b = search.restart_tensors[j];
      sum += axial_angle_deg(a.axes[0], b.axes[0]) + axial_angle_deg(a.axes[2], b.axes[2]);
    }
    if (sum < least) {
      least = sum;
      central = static_cast<int32_t>(i);
    }
  }
  return central;
}

std::vector<InvertedTensor> indistinct_set(const ConvergedResult& search, float tolerance) {
  std::vector<InvertedTensor> set;
  if (search.best_restart < 0 && search.best_candidate < 0) return set;
  set.push_back(search.best);
  const float best = search.best.objective_reported;
  for (std::size_t i = 0; i < search.restart_tensors.size(); ++i) {
    if (static_cast<int32_t>(i) == search.best_restart) continue;
    const InvertedTensor& t = search.restart_tensors[i];
    if (t.objective_reported - best <= tolerance) set.push_back(t);
  }
  return set;
}

SetExtent set_extent(std::span<const InvertedTensor> set) {
  SetExtent e;
  e.tensors = static_cast<int32_t>(set.size());
  if (set.empty()) return e;
  e.r_min = e.r_max = set[0].tensor.params[3];
  e.threshold_min = e.threshold_max = set[0].tensor.threshold;
  for (std::size_t i = 0; i < set.size(); ++i) {
    const InvertedTensor& t = set[i];
    e.r_min = std::min(e.r_min, t.tensor.params[3]);
    e.r_max = std::max(e.r_max, t.tensor.params[3]);
    e.threshold_min = std::min(e.threshold_min, t.tensor.threshold);
    e.threshold_max = std::max(e.threshold_max, t.tensor.threshold);
    for (std::size_t j = i + 1; j < set.size(); ++j) {
      e.sigma1_deg = std::max(e.sigma1_deg, axial_angle_deg(t.axes[0], set[j].axes[0]));
      e.sigma3_deg = std::max(e.sigma3_deg, axial_angle_deg(t.axes[2], set[j].axes[2]));
    }
  }
  return e;
}

}  // namespace gemino
