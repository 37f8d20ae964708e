// SPDX-License-Identifier: GPL-3.0-or-later
// The converged inversion: independent restarts of the search until the best objective
// has been reached twice, with tensors the caller already holds as further candidates.
// The run's own search (invert) is one restart of a fixed seed; a single search can stop
// in a local minimum, and a second independent search that ends at the same objective is
// the evidence that the best one found is not just where one search happened to stop.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "gemino/invert.h"
#include "gemino/state.h"

namespace gemino {

struct ConvergedOptions {
  // Restarts made at most (at least 1); the search ends there when no two restarts have
  // reached the best objective.
  int32_t max_restarts = 12;
  // A restart reaches the best objective F when its objective f has f - F <= tolerance
  // (float arithmetic, units of sigma1 - sigma3 of each tensor as reported).
  float tolerance = 1.0E-4f;
  // Restarts that must reach the best objective before the search stops (2 at least, the
  // cap permitting). With three or more there, the answer is the central one of them
  // (central_restart): the tensors that fit equally well are points of one region the data
  // cannot tell apart, and its central point is the choice the data favour no less than any
  // other, while the first one found is wherever its restart happened to stop.
  int32_t restarts_at_best = 2;
  // When set, the answer is moved to the tensor of widest margin near it among those that
  // fit no worse (widen_margin): the point of the region of equal fit that a small error of
  // measurement moves least across the threshold.
  bool widest_margin = false;
  // Tensors to score beside the restarts, as search parameters (three angles, then R in
  // any range: the axes are renamed as for a searched tensor).
  std::vector<std::array<float, 4>> candidates;
};

struct ConvergedResult {
  InversionStatus status = InversionStatus::done;
  InvertedTensor best{};         // the answer
  int32_t restarts = 0;          // restarts made
  int32_t restarts_at_best = 0;  // restarts that reached the best objective
  int32_t best_candidate = -1;   // index of the candidate that is the answer, or -1
  int32_t best_restart = -1;     // index of the restart that is the answer, or -1
  // The objective of each restart's tensor and of each candidate, in the units of that
  // tensor as reported (InvertedTensor::objective_reported).
  std::vector<float> restart_objectives;
  std::vector<float> candidate_objectives;
  // Each restart's tensor, in the order made.
  std::vector<InvertedTensor> restart_tensors;
};

// How far apart the tensors the data cannot tell apart lie: the largest axial angle
// between any two of their sigma1 axes and between any two of their sigma3 axes (degrees,
// 0 to 90), and the ranges of their R and of their thresholds.
struct SetExtent {
  int32_t tensors = 0;
  double sigma1_deg = 0.0;
  double sigma3_deg = 0.0;
  float r_min = 0.0f;
  float r_max = 0.0f;
  float threshold_min = 0.0f;
  float threshold_max = 0.0f;
};

// The seed of restart `index` (0 for the first), drawn from the run's seed and the index
// alone: odd and positive, as the generator needs.
int32_t restart_seed(int32_t run_seed, int32_t index);

// Inverts rows by restarts, each the search of invert with start mode 1, options'
// trial_count, twin_percent and iteration_limit, and the seed restart_seed(options.seed,
// i). After each restart, F is the lowest objective of the restarts and candidates so
// far; the search stops when restarts_at_best restarts (two by default) have reached F, or
// at max_restarts. The answer is the restart of lowest objective (the first of equal
// ones), or with restarts_at_best above two the central restart of those at it that score
// no worse than any candidate, unless a candidate scores strictly lower than every
// restart: a candidate never wins a tie. So the answer scores no worse than any candidate,
// and the same seed gives the same answer. Progress goes to
// options.progress as for each restart's search; a cancelled restart cancels the whole.
// After a done inversion the state holds the ranking under the answer.
ConvergedResult invert_converged(std::span<const PlaneRow> rows, const InversionOptions& options,
                                 const ConvergedOptions& converged, State& state);

// The same on a state of its own.
ConvergedResult invert_converged(std::span<const PlaneRow> rows, const InversionOptions& options,
                                 const ConvergedOptions& converged);

// Scores a tensor given by search parameters on the state's data (as invert left it), the
// axes renamed to bring R into [0, 1], as a searched tensor is kept.
InvertedTensor score_tensor(State& state, const std::array<float, 4>& params);

// The angle between two lines given by direction vectors, in degrees from 0 to 90: a line
// and its opposite direction are the same axis.
double axial_angle_deg(const float a[3], const float b[3]);

// Among the restarts whose objective lies within the tolerance above `best` and not above
// `ceiling`, the one whose sigma1 and sigma3 lie nearest the others' (the least sum of axial
// angles to them; the first of equal sums); -1 when fewer than three restarts qualify.
int32_t central_restart(const ConvergedResult& search, float best, float ceiling, float tolerance);

// The tensors the data cannot tell apart: the answer, then every restart other than the
// answer whose objective lies within the tolerance above the answer's.
std::vector<InvertedTensor> indistinct_set(const ConvergedResult& search, float tolerance);

// The extent of a set of tensors (all zero for an empty set).
SetExtent set_extent(std::span<const InvertedTensor> set);

}  // namespace gemino
