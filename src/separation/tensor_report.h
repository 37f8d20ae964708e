// SPDX-License-Identifier: GPL-3.0-or-later
// The report of a further tensor, in the form of the run's report: the run's text lines
// and parameters (the share of twins the separation used), the counts of the tensor's
// planes, the best starting tensor, the optimised tensor with the planes down to its
// threshold, the ranking of every plane and the two charts. The planes are the tensor's own
// (its twinned planes and every untwinned plane), listed as a run with quiet listing lists
// them: not at all.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "gemino/state.h"
#include "separation/separation.h"

namespace separation {

// The text of the report (records ending in CR LF, as the run writes them), made by the
// search of the tensor's own seed on its planes; nothing when the writing failed. `run` is
// the state of the run whose data were separated; trial_count and iteration_limit are the
// separation's.
std::optional<std::string> tensor_report(const gemino::State& run, const Tensor& tensor,
                                         int32_t share, int32_t trial_count,
                                         int32_t iteration_limit);

}  // namespace separation
