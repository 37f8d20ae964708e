// SPDX-License-Identifier: GPL-3.0-or-later
// The tensors the run's data cannot tell apart, as the confidence summary shows them: the
// converged search of the run's own data (its reported tensor a candidate) and the extent
// of the tensors that reach its best objective.
#pragma once

#include <functional>
#include <string>

#include "bootstrap/resampling.h"
#include "gemino/converged.h"

namespace bootstrap {

// The converged search on the run's rows and parameters (start mode 1 for every restart,
// the run's seed), with the run's reported tensor as the one candidate. `progress` is
// told as the restarts' searches go (InversionOptions::progress).
gemino::ConvergedResult search_run_data(
    const RunInput& input, const gemino::ConvergedOptions& options = {},
    std::function<bool(gemino::ProgressStage, int32_t, int32_t)> progress = {});

// The summary's lines on the extent of the set: how many tensors reach the best objective
// within the tolerance, the largest angles between their sigma1 axes and between their
// sigma3 axes, the ranges of R, SEUIL and the differential stress for `crss_mpa`, and
// what a wide set means. A set of one tensor has no extent to give: the lines say so.
std::string extent_text(const gemino::SetExtent& extent, double crss_mpa, float tolerance);

// The same for the outcome of a converged search.
std::string extent_text(const gemino::ConvergedResult& search, double crss_mpa, float tolerance);

}  // namespace bootstrap
