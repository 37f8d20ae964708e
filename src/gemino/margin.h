// SPDX-License-Identifier: GPL-3.0-or-later
// The margin of a tensor: how far its threshold stands above the highest-ranked untwinned
// plane (units of sigma1 - sigma3). Among tensors that fit the rows equally well, the one of
// widest margin is the one a small error of measurement moves least across the threshold.
#pragma once

#include <cstdint>
#include <optional>

#include "gemino/invert.h"
#include "gemino/state.h"

namespace gemino {

// The margin of the search parameters x (R in [0, 1]) on the state's rows, with the
// objective into f. Leaves the ranking of x in the state, as objective does. A state
// without an untwinned plane, or whose ranking does not meet twin_limit twinned planes,
// gives minus infinity: there is no margin to widen.
float twin_margin(State& s, const float (&x)[4], float& f);

// The largest resolved shear stress of an untwinned plane ranked below the threshold, in
// the ranking the state holds (as objective leaves it); none when no untwinned plane lies
// below it. With the threshold it brackets the critical value the tensor allows.
std::optional<float> untwinned_below_threshold(const State& s);

// The tensor of widest margin near `start` among those whose objective is not above start's
// (a simplex search without derivatives, at most max_evaluations margins, R kept in
// [0, 1]); start itself when no such tensor widens its margin. The state must hold the rows
// (as invert leaves them).
InvertedTensor widen_margin(State& s, const InvertedTensor& start, int32_t max_evaluations = 400);

}  // namespace gemino
