// SPDX-License-Identifier: GPL-3.0-or-later
// The end of the report: the threshold line and the two character charts of the planes
// (normal stress across and resolved shear stress down; cumulative percentages).
#pragma once

#include "gemino/state.h"

namespace gemino {

// Writes "SEUIL=" with s.threshold, then both charts for the parameters x, to unit 8.
// Overwrites s.rotation_matrix.
void stress_plots(State& s, float (&x)[4]);

}  // namespace gemino
