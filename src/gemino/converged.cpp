#include "gemino/converged.h"

#include <limits>
#include <memory>

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
    ++out.restarts;
    if (out.best_restart < 0 || v < best_restart) {
      out.best_restart = i;
      out.best = r.final;
      best_restart = v;
    }
    const float best = best_candidate < best_restart ? best_candidate : best_restart;
    if (count_at(out.restart_objectives, best, converged.tolerance) >= 2) break;
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

}  // namespace gemino
