// SPDX-License-Identifier: GPL-3.0-or-later
// What a resampling of a run needs from it, and the pieces every resampled inversion
// shares: the grains of the data rows, the seeds of each task, and the tensor of an
// inversion as the results give it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "gemino/invert.h"
#include "results/result_model.h"

namespace bootstrap {

struct RunInput {
  std::vector<gemino::PlaneRow> rows;
  std::vector<int32_t> row_grain;  // grain number of each row (block offset included)
  // The grain of each row as the inversion takes it: the c-axis record the row follows
  // (two grains may share a number, across blocks or within one).
  std::vector<int32_t> row_record;
  int32_t start_mode = 1;
  int32_t trial_count = 0;
  int32_t iteration_limit = 0;
  int32_t twin_percent = 100;
  int32_t seed = 0;  // the run's seed, as read
  // The full-data tensor the cones are centred on and the resamples and leave-outs get as
  // their candidate: the run's optimised tensor, or the converged search's answer when that
  // fits the data better (reference_converged).
  results::TensorResult reference;
  bool reference_converged = false;
  double crss_mpa = 10.0;
};

// The input of a finished run held by the state (results::has_result(s) must hold).
RunInput run_input(const gemino::State& s, double crss_mpa = 10.0);
// The same without the reference: the rows and the search of a state whose data are read,
// before any tensor is found.
RunInput read_input(const gemino::State& s, double crss_mpa = 10.0);

// The grains of the rows (row_record) in the order they first appear: for each, its rows.
std::vector<std::vector<int32_t>> grains_of(const std::vector<int32_t>& row_record);

// A 64-bit value drawn from (seed, index) alone, so that a task's draws do not depend on
// which worker runs it or in what order.
class TaskRandom {
 public:
  TaskRandom(uint64_t seed, uint64_t index);
  uint64_t next();
  // An integer in 0..n-1 (n > 0).
  int32_t below(int32_t n);
  // A seed for the inversion's generator: odd and positive, as the generator needs.
  int32_t generator_seed();

 private:
  uint64_t state_;
};

// The tensor of an inversion with its lines, as the results give the run's tensor.
using results::tensor_result;

// The differential stress of a threshold (SEUIL) for a CRSS; none when SEUIL is not
// positive (or the quotient is not finite).
std::optional<double> differential_mpa(double threshold, double crss_mpa);

// The SHmax azimuth of a tensor, degrees in [0, 180).
double shmax_of(const results::TensorResult& t);

}  // namespace bootstrap
