// SPDX-License-Identifier: GPL-3.0-or-later
// Separating two or three stress tensors in the twins of one sample. Tensor 1 is the
// converged inversion of every plane at a share of twins below 100 %; tensor 2 is inverted
// on the twinned planes tensor 1 leaves unexplained and every untwinned plane; a few passes
// then give each twinned plane to the tensor under which TAU - SEUIL is largest and invert
// each tensor again on its planes and every untwinned plane. Tensor 3 comes the same way
// from what tensors 1 and 2 leave. The number of tensors is chosen by the penalised count of
// unexplained planes (model_choice.h), and the shares tried give the one of lowest BIC.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "gemino/converged.h"
#include "gemino/invert.h"

namespace separation {

struct Options {
  // Shares of twins (percent) tried for tensor 1, each giving its own separation.
  std::vector<int32_t> shares = {90, 80, 70, 60, 50};
  int32_t tensors = 0;  // 0: chosen (1, 2 or 3); 1, 2 or 3: that many, if found
  int32_t passes = 2;   // refinement passes
  int32_t trial_count = 200;
  int32_t iteration_limit = 900;
  int32_t seed = 1;          // the run's seed: every search seed is drawn from it
  int32_t max_restarts = 6;  // of each converged search
  int32_t jobs = 1;          // shares separated at once; the answer does not depend on it
  // Told after each share is done; a false answer cancels the separation.
  std::function<bool(int32_t done, int32_t total)> progress;
};

struct Tensor {
  gemino::InvertedTensor tensor{};
  int32_t seed = 0;  // seed of the search that found it, on its own rows at the share
  std::vector<gemino::PlaneRow> rows;  // the planes it was inverted on
  int32_t twinned_given = 0;           // twinned planes given to it
  int32_t twinned_explained = 0;       // twinned planes at or above its threshold
};

// Two tensors that share sigma3 while one is nearly oblate.
struct Permutation {
  int32_t share = 0;    // the share of twins of the fit it concerns
  int32_t tensors = 0;  // the K of the tensors tried it concerns
  int32_t first = 0;    // 0-based tensor indices among those K, first < second
  int32_t second = 0;
  double sigma3_angle_deg = 0.0;
  // True for the tensors of the answer; false for tensor 1 and the second tensor as first
  // inverted on what tensor 1 leaves, before the refinement shared the twins between them.
  bool refined = true;
};

struct Separation {
  gemino::InversionStatus status = gemino::InversionStatus::done;
  int32_t share = 0;            // the share of twins of the answer (percent)
  int32_t chosen = 1;           // K
  int32_t planes = 0;           // N
  int32_t twinned = 0;          // twinned planes of all rows
  std::vector<Tensor> tensors;  // the answer's, `chosen` of them
  // The tensors found for each K tried (K = 1, 2, 3 in turn), the answer among them.
  std::vector<std::vector<Tensor>> tried;
  // BIC and unexplained planes for K = 1, 2, 3; the BIC is NaN for a K that could not be
  // tried (too few candidates).
  std::array<double, 3> bic{};
  std::array<int32_t, 3> unexplained{};
  // Each row's tensor under the answer: 1..K for a twinned row explained by the tensor it
  // was given to, 0 for any other row.
  std::vector<int32_t> plane_tensor;
  // Tensor 1 and the second tensor as first inverted on the planes tensor 1 leaves
  // unexplained, before any refinement; empty when no second tensor could be tried.
  std::vector<Tensor> first_pair;
  // Pairs of tensors that may be one oblate tensor: among the answer's tensors, and the
  // first pair of every share tried, kept or not.
  std::vector<Permutation> permutations;
};

// The separation at one share of twins, seeds drawn from options.seed and the share.
Separation separate_at(std::span<const gemino::PlaneRow> rows, int32_t share,
                       const Options& options);

// The separation at every share of options.shares; the answer is the one whose chosen K
// has the lowest BIC (the first share of equal ones). The same rows and options give the
// same answer whatever options.jobs.
Separation separate(std::span<const gemino::PlaneRow> rows, const Options& options);

// The pairs of tensors of one share's separation that may be one oblate tensor: its first
// pair, and any pair of the tensors it keeps.
std::vector<Permutation> permutations_of(const Separation& s);

// The search seed of step `step` at share `share`, drawn from the run's seed.
int32_t step_seed(int32_t run_seed, int32_t share, int32_t step);

}  // namespace separation
