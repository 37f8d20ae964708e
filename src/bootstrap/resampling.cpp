// SPDX-License-Identifier: GPL-3.0-or-later
#include "bootstrap/resampling.h"

#include <cmath>
#include <map>

#include "results/magnitudes.h"

namespace bootstrap {

RunInput read_input(const gemino::State& s, double crss_mpa) {
  RunInput in;
  in.rows = gemino::rows_of(s);
  in.row_grain.assign(s.record.row_grain, s.record.row_grain + in.rows.size());
  in.row_record.assign(s.record.row_grain_record, s.record.row_grain_record + in.rows.size());
  in.start_mode = s.start_mode;
  in.trial_count = s.trial_count;
  in.iteration_limit = s.iteration_limit;
  in.twin_percent = s.twin_percent;
  in.seed = s.record.seed;
  in.crss_mpa = crss_mpa;
  return in;
}

RunInput run_input(const gemino::State& s, double crss_mpa) {
  RunInput in = read_input(s, crss_mpa);
  in.reference = results::build_result(s).result;
  return in;
}

std::vector<std::vector<int32_t>> grains_of(const std::vector<int32_t>& row_record) {
  std::vector<std::vector<int32_t>> grains;
  std::map<int32_t, std::size_t> index;
  for (std::size_t i = 0; i < row_record.size(); ++i) {
    const auto [at, added] = index.emplace(row_record[i], grains.size());
    if (added) grains.emplace_back();
    grains[at->second].push_back(static_cast<int32_t>(i));
  }
  return grains;
}

TaskRandom::TaskRandom(uint64_t seed, uint64_t index)
    : state_(seed * 0x9E3779B97F4A7C15ull ^ (index + 1) * 0xD1B54A32D192ED03ull) {
  next();
}

uint64_t TaskRandom::next() {
  // splitmix64
  uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

int32_t TaskRandom::below(int32_t n) {
  // The high bits times n: unbiased enough for n far below 2^32.
  return static_cast<int32_t>(((next() >> 32) * static_cast<uint64_t>(n)) >> 32);
}

int32_t TaskRandom::generator_seed() {
  return static_cast<int32_t>((next() >> 34) | 1u);
}

std::optional<double> differential_mpa(double threshold, double crss_mpa) {
  if (!(threshold > 0.0)) return std::nullopt;
  const double d = crss_mpa / threshold;
  if (!std::isfinite(d)) return std::nullopt;
  return d;
}

double shmax_of(const results::TensorResult& t) {
  return results::shmax_azimuth(t, results::regime_of(t));
}

}  // namespace bootstrap
