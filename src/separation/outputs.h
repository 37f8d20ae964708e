// SPDX-License-Identifier: GPL-3.0-or-later
// What a separation shows: the JSON `tensors` block, the console summary, and the run's
// result as seen under each tensor (for its stereonet).
#pragma once

#include <span>
#include <string>

#include <nlohmann/json.hpp>

#include "results/result_model.h"
#include "separation/separation.h"

namespace separation {

// A tensor as a result gives it: axes as lower-hemisphere lines, R, threshold, objective.
using results::tensor_result;

// The `tensors` block: K and how it was asked for ("auto", "1", "2", "3"), the share of
// twins, the rule and the BIC of each K tried, each tensor (axes, R, SEUIL, the
// differential stress for the CRSS, its twinned planes and their share) and the warnings of
// a possible stress permutation.
nlohmann::ordered_json tensors_json(const Separation& s, const std::string& asked, double crss_mpa);

// The summary for the console: a few lines, each ending in a line feed.
std::string tensors_summary(const Separation& s, double crss_mpa);

// The sentence of a permutation warning.
std::string permutation_text(const Permutation& p);

// The run's result with tensor `k` (0-based) of the separation as its optimised tensor:
// every plane's TAU, rank and class under it. `rows` are the run's rows, in the order of
// base.planes.
results::Result result_under(const results::Result& base, std::span<const gemino::PlaneRow> rows,
                             const Tensor& tensor);

}  // namespace separation
