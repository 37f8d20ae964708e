// SPDX-License-Identifier: GPL-3.0-or-later
// How well the data constrain the tensor: the data's grains drawn with replacement
// (a grain with all its planes), each resample inverted by the converged search (fresh
// random multi-starts with the run's number of starting tensors and search steps, the
// full-data tensor a candidate that never wins a tie); the 95 % cones of the axes around
// the full-data tensor, the intervals of R, SEUIL and the differential stress, the spread
// of SHmax; and the grains whose leaving out genuinely changes the answer.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "bootstrap/axial_stats.h"
#include "bootstrap/crss_range.h"
#include "bootstrap/resampling.h"
#include "gemino/converged.h"

namespace bootstrap {

// Draws of one resample before it is given up as too large for the rows.
inline constexpr int32_t max_redraws = 100;
// The share of undefined differential stresses past which the bootstrap gives no interval.
inline constexpr double undefined_share_limit = 0.05;

struct Options {
  int32_t resamples = 0;  // B
  uint64_t seed = 1;
  int32_t jobs = 0;  // 0: one per core
  bool influence = true;
  // When given, each resample draws its CRSS in the range from its own task stream (after its
  // grains and its seed) instead of taking the run's.
  std::optional<CrssRange> crss_range;
  // The restarts each resample's search needs at its best objective before it stops, the
  // answer then the central one of them (gemino::ConvergedOptions::restarts_at_best).
  int32_t restarts_at_best = 2;
  // Each resample's answer moved to the tensor of widest margin that fits it no worse
  // (gemino::ConvergedOptions::widest_margin): among tensors that fit a resample equally
  // well, the one deepest inside the region of equal fit, so that the cones measure how far
  // the regions of the resamples lie apart rather than where each search happened to stop.
  // The centre of the cones is not widened. Widening opens the gap between the lowest twin
  // and the highest untwinned plane, so SEUIL, its top, lies above the critical value: it
  // goes with bracket_interval.
  bool widest_margin = true;
  // The differential stress interval from the 2.5 % point of the resamples' tau_c / SEUIL to
  // the 97.5 % point of the upper ends of their brackets (tau_c over the largest untwinned
  // resolved shear stress below the threshold) instead of the 97.5 % point of tau_c / SEUIL:
  // it carries where in the gap between twinned and untwinned planes the critical value lies.
  bool bracket_interval = true;
  // Told after every finished inversion (done of total, from any worker but one at a
  // time); false asks the others to stop, and the summary is then marked cancelled.
  std::function<bool(int32_t done, int32_t total)> progress;
};

// One resample's tensor: the axes (row j: sigma j + 1, unit vector, third component
// not positive), R, SEUIL and what follows from them.
struct Sample {
  bool valid = false;  // the resample could be inverted (rows fit the storage)
  float axes[3][3] = {};
  float R = 0.0f;
  float threshold = 0.0f;
  double crss_mpa = 0.0;                   // the CRSS of the resample
  std::optional<double> differential_mpa;  // none when SEUIL is not positive
  // The upper end of the bracket of the differential stress: tau_c over the largest untwinned
  // resolved shear stress below the threshold; none (unbounded) when that is not positive or
  // no untwinned plane lies below the threshold.
  std::optional<double> differential_high_mpa;
  double shmax_deg = 0.0;
  // The answer's objective on the resample (units of its own sigma1 - sigma3), whether the
  // answer is the full-data tensor (it scored strictly lower than every restart), and
  // whether two restarts reached the best objective.
  float objective = 0.0f;
  bool at_candidate = false;
  bool converged = false;
  // Draws that held more planes than the inversion's rows and were drawn again;
  // max_redraws + 1 when none fitted (the resample is then not valid).
  int32_t redraws = 0;
};

// A grain whose rows the full-data tensor needs: without them a converged search finds a
// tensor that fits the other rows better than the full-data one does.
struct GrainInfluence {
  int32_t grain = 0;        // grain number, block offset included
  double sigma1_deg = 0.0;  // angle between sigma1 with and without the grain
  double sigma3_deg = 0.0;
  double delta_R = 0.0;  // R without the grain less R with it
  // The full-data tensor's objective on the other rows less that of the answer without
  // the grain (units of sigma1 - sigma3 of each tensor as reported): above the tolerance.
  double objective_gain = 0.0;
};

struct Summary {
  int32_t resamples = 0;
  uint64_t seed = 0;
  int32_t jobs = 0;
  std::optional<CrssRange> crss_range;  // the CRSS drawn per resample, when it was
  bool cancelled = false;
  int32_t invalid = 0;  // resamples that could not be inverted
  // Resamples whose first draw held more planes than the rows (max_rows) and that were
  // drawn again; those still too large after max_redraws draws are among the invalid.
  int32_t redrawn = 0;
  int32_t too_many_planes = 0;
  // Inverted resamples whose SEUIL is not positive: their differential stress is undefined.
  int32_t undefined_differential = 0;
  // Inverted resamples whose answer is the full-data tensor, and those whose search did not
  // converge (no two restarts reached its best objective; the answer is still the best found).
  int32_t at_candidate = 0;
  int32_t unconverged = 0;
  // The tensor the cones are centred on (the input's reference), and whether it is the
  // converged search's answer rather than the run's own tensor.
  results::TensorResult centre{};
  bool centre_converged = false;
  std::array<double, 3> cone95_deg = {0.0, 0.0, 0.0};  // sigma1, sigma2, sigma3
  Interval R, threshold;
  // None when more than undefined_share_limit of the inverted resamples (or all) leave the
  // differential stress undefined: an interval of the others would hide them.
  // With bracket_interval its upper end is infinite when the 97.5 % point falls on a
  // resample whose bracket is unbounded.
  std::optional<Interval> differential_mpa;
  bool bracket_interval = false;  // as Options::bracket_interval
  double shmax_spread_deg = 0.0;
  std::vector<Sample> samples;  // in resample order
  // Grains left out, one converged inversion each, and those whose search did not converge
  // (no two restarts reached its best objective): an answer that may be where the search
  // stopped says nothing about the grain.
  int32_t left_out = 0;
  int32_t left_out_unconverged = 0;
  // The genuinely influential grains alone, most influential first.
  std::vector<GrainInfluence> influence;
};

Summary run_bootstrap(const RunInput& input, const Options& options);

// The summary statistics of samples around the reference tensor.
void summarize(const RunInput& input, Summary& summary);

// The rows of one resample: grains drawn with replacement, as many as there are, each
// with all its rows in their order. `out` keeps its capacity from call to call.
void resample_rows(const RunInput& input, const std::vector<std::vector<int32_t>>& grains,
                   TaskRandom& random, std::vector<gemino::PlaneRow>& out);

// resample_rows drawn again (the draws go on from `random`) while the rows exceed
// gemino::max_rows, at most max_redraws times: the number of redraws, or -1 when the last
// draw was still too large.
int32_t draw_fitting_rows(const RunInput& input, const std::vector<std::vector<int32_t>>& grains,
                          TaskRandom& random, std::vector<gemino::PlaneRow>& out);

// How much a grain's influence counts for the ranking: the larger axis change, then R.
double influence_size(const GrainInfluence& g);

// The converged search of one resample's rows, the full-data tensor its one candidate and
// its restart seeds drawn from `seed` (drawn from the resample's own task stream), stopping
// when `restarts_at_best` restarts have reached its best objective.
gemino::ConvergedResult invert_resample(std::span<const gemino::PlaneRow> rows,
                                        const RunInput& input, int32_t seed, gemino::State& state,
                                        int32_t restarts_at_best = 2, bool widest_margin = false);

// The converged search of the rows without a grain, the full-data tensor its first
// candidate (the search's own restart seeds drawn from the run's seed).
gemino::ConvergedResult invert_left_out(std::span<const gemino::PlaneRow> rows,
                                        const RunInput& input, gemino::State& state);

// Whether a leave-out search makes its grain influential: done, converged (two restarts at
// its best objective), and the full-data tensor (the first candidate) scoring worse on the
// rows than the answer by more than the tolerance. A candidate answer is never influential.
bool is_influential(const gemino::ConvergedResult& r, float tolerance);

}  // namespace bootstrap
