// SPDX-License-Identifier: GPL-3.0-or-later
// The full-data tensor the resampled results are measured from. The run's own search can
// stop in a local minimum; the converged search of the same data (independent restarts,
// the run's tensor a candidate that wins only by scoring strictly lower) says whether it
// did. When it finds a tensor that fits the data better, the cones, the leave-outs'
// candidate and the scan's angles are taken from that tensor instead of the run's.
#pragma once

#include "bootstrap/resampling.h"
#include "gemino/converged.h"

namespace bootstrap {

// The converged search of the input's rows with its parameters (start mode 1 for every
// restart, restart seeds drawn from the run's seed), the input's reference its one
// candidate.
gemino::ConvergedResult search_full_data(const RunInput& input,
                                         const gemino::ConvergedOptions& options = {});

// Whether the search found a tensor that scores lower than the input's reference by more
// than the tolerance (units of sigma1 - sigma3 of each tensor as reported).
bool finds_better_reference(const RunInput& input, const gemino::ConvergedResult& search,
                            float tolerance);

// The input with the search's answer as its reference when finds_better_reference holds,
// otherwise the input as given.
RunInput with_converged_reference(RunInput input, const gemino::ConvergedResult& search,
                                  float tolerance);

// The input centred on the converged answer of the full data, with the search that decided
// it (whose extent the summary shows): what the bootstrap of a finished run starts from.
struct CentredInput {
  RunInput input;
  gemino::ConvergedResult search;
};
CentredInput centred_on_converged(RunInput input, const gemino::ConvergedOptions& options = {});

}  // namespace bootstrap
