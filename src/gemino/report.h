// SPDX-License-Identifier: GPL-3.0-or-later
// The results written to the report (unit 8): the tensor block -- each principal stress
// with its direction and plunge, the objective value and R, the data ranked down to the
// threshold -- and the full ranking of every plane.
#pragma once

#include <cstdint>

#include "gemino/state.h"

namespace gemino {

// Writes the tensor block for the search parameters x with the objective value f.
// When R = x[3] lies outside [0, 1] the principal axes are renamed so that it comes
// inside: x is re-expressed in place and the objective evaluated once more, which
// refreshes the ranking and s.threshold_index (the caller may pass that very variable as
// threshold_index, and the listing then runs to the refreshed value). The listed rows
// are s.best_index_list, the ranking kept by the driver. n is the number of data rows.
void report_tensor(State& s, float (&x)[4], float& f, int32_t& threshold_index, int32_t& n);

// The renaming of report_tensor without writing: when R = x[3] lies outside [0, 1], x is
// re-expressed with R inside and scored again (ranking, threshold and threshold_index
// refreshed). Gives whether it was. When it was and rescored is given, *rescored is the
// objective of the re-expressed tensor: the value in units of its own sigma1 - sigma3,
// which are those of the tensor before renaming times 1/R (R above 1) or 1/(1 - R) (R
// below 0).
bool bring_r_into_range(State& s, float (&x)[4], float* rescored = nullptr);

// Writes the line of stars that separates the parts of the report: a blank line, 42
// asterisks from column 10, a blank line.
void write_separator();

// Writes the ranking of the last objective evaluation: every row's signed data number
// over its resolved shear stress, fourteen to a line.
void report_ranking(State& s);

// The data number of a data row (1-based) with the sign of its twin flag: positive for a
// twinned plane, negative for an untwinned one; 0 for a row number that names no row.
int32_t signed_number(const State& s, int32_t row);

}  // namespace gemino
