// SPDX-License-Identifier: GPL-3.0-or-later
// The score of a trial tensor against the twin data: rank every plane by resolved shear
// stress, fix the threshold where the ranking has met `twin_limit` twinned planes, and
// add up how far the untwinned planes ranked above that point stand over the threshold.
#pragma once

#include "gemino/state.h"

namespace gemino {

// A candidate scoring above this is never kept.
inline constexpr float no_candidate = 1.0E6f;

// Keeps the ranking of the last evaluation down to the threshold as the listed one
// (s.best_index_list).
void keep_ranking(State& s);

// Scores the search parameters x (three angles, then R) into f. Leaves the ranking in
// s.shear_list / s.shear_order, sets s.threshold_index and, when the walk meets
// `twin_limit` twinned planes, s.threshold. Overwrites s.rotation_matrix.
void objective(State& s, const float (&x)[4], float& f);

// The score of objective for the search, which needs nothing else: the same f,
// s.threshold and s.threshold_index, bit for bit, while s.shear_list and s.shear_order
// are left without meaning. Walks only the top of the ranking, down to the threshold.
void objective_score(State& s, const float (&x)[4], float& f);

// The score of rank_planes for the values of s.shear_list (in row order), as
// objective_score gives it.
void score_planes(State& s, float& f);

// Ranks s.shear_list (one resolved shear stress per data row, in row order) and walks
// the ranking; the score goes to f. The order is the one of the binned exchange sort:
// by value, largest first, equal values by data row, last row first.
void rank_planes(State& s, float& f);

}  // namespace gemino
