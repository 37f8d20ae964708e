// SPDX-License-Identifier: GPL-3.0-or-later
// Direct search without derivatives over the four search parameters, with rotation of
// the search directions along the progress of each stage.
#pragma once

#include <cstdint>
#include <functional>

#include "gemino/state.h"

namespace gemino {

// Told after every trial step: the steps taken (1..limit) and s.iteration_limit.
using StepHook = std::function<void(int32_t step, int32_t limit)>;

// Improves x (in place) over s.iteration_limit trial steps of the objective.
// best_point receives the point of the last successful step (the start point when no
// step succeeds); f the objective at x on return. A parameter whose bound_kind is not 0
// must stay within [lower, upper]: a step that leaves it counts as a failure without
// evaluating the objective. debug_flag 1 writes the step-by-step trace to unit 8.
// on_step, when set, is called after every trial step.
void rotation_search(State& s, float (&x)[4], const float (&lower)[4], const float (&upper)[4],
                     const int32_t (&kind)[4], float (&best_point)[4], float& f, int32_t debug_flag,
                     const StepHook& on_step = {});

// Replaces the search directions (column i of v is direction i) by an orthonormal set
// built from the progress of a stage: the first along the whole progress, each further
// one along the progress that leaves out the directions before it. Progress vectors
// that are not independent leave v unchanged (and give false).
bool orthogonal_directions(float (&v)[4][4], const float (&progress)[4]);

}  // namespace gemino
