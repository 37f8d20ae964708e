// SPDX-License-Identifier: GPL-3.0-or-later
// The planes as several tensors see them: each plane's resolved shear stress under a
// tensor, which planes a tensor explains, the candidate set left for a further tensor, and
// the share-out of the twinned planes among the tensors found.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "gemino/invert.h"

namespace separation {

// The resolved shear stress (TAU) of every row under a tensor as inverted (its search
// parameters with R in [0, 1]), in row order: the very values its ranking compares with
// its threshold.
std::vector<float> shear_values(std::span<const gemino::PlaneRow> rows,
                                const gemino::InvertedTensor& tensor);

// Whether a plane of stress `tau` is explained by a tensor of threshold `threshold`: a
// twinned plane at or above it, an untwinned one below it.
inline bool at_or_above(float tau, float threshold) {
  return tau >= threshold;
}

// The rows that a selection of "keep only these data numbers" keeps from `rows` when the
// numbers listed are those of the twinned rows not explained by a tensor: every untwinned
// row, and every twinned row whose data number is one of them (a number shared by two
// planes keeps both, as the selection does). Rows keep their order.
struct CandidateSet {
  std::vector<int32_t> listed;  // the data numbers listed, in row order, no repeats
  std::vector<gemino::PlaneRow> rows;
  int32_t twinned = 0;  // twinned rows kept
};
CandidateSet candidate_set(std::span<const gemino::PlaneRow> rows, std::span<const float> tau,
                           float threshold);

// The same for several tensors: the twinned rows explained by none of them.
CandidateSet candidate_set(std::span<const gemino::PlaneRow> rows,
                           std::span<const std::vector<float>> tau,
                           std::span<const float> thresholds);

// Whether a candidate set is worth inverting: it holds at least 8 twinned planes and at
// least a fifth of all the twinned planes.
bool enough_candidates(int32_t candidate_twinned, int32_t twinned_total);

// The tensor each twinned row goes to: the one under which TAU - SEUIL is largest (the
// first of equal ones), 0-based; -1 for an untwinned row.
std::vector<int32_t> share_out(std::span<const gemino::PlaneRow> rows,
                               std::span<const std::vector<float>> tau,
                               std::span<const float> thresholds);

// The planes a tensor is inverted on: the twinned rows given to it, and every untwinned
// row (an untwinned plane must stay untwinned under every tensor), in row order.
std::vector<gemino::PlaneRow> rows_for(std::span<const gemino::PlaneRow> rows,
                                       std::span<const int32_t> owner, int32_t tensor);

// Planes that no tensor explains: a twinned row below every threshold, or an untwinned row
// at or above some threshold.
int32_t unexplained_count(std::span<const gemino::PlaneRow> rows,
                          std::span<const std::vector<float>> tau,
                          std::span<const float> thresholds);

// Twinned rows that tensor `k` explains and none of the tensors before it does.
int32_t newly_explained(std::span<const gemino::PlaneRow> rows,
                        std::span<const std::vector<float>> tau, std::span<const float> thresholds,
                        int32_t k);

}  // namespace separation
