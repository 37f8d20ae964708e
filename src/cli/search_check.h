// SPDX-License-Identifier: GPL-3.0-or-later
// Whether the report's tensor is the best the search can find: after a run that writes
// any output beside the report, the converged search (independent restarts and the
// report's tensor as a candidate) inverts the run's data again. The JSON gets a `search`
// block and the standard error a line when a tensor scoring lower was found. A plain run
// does none of it, and no run's report or console changes.
#pragma once

#include <nlohmann/json.hpp>

#include "cli/extension.h"
#include "gemino/converged.h"

namespace cli {

// The converged search on the run's data rows and parameters (start mode 1 for every
// restart), with the report's optimised tensor as the one candidate.
gemino::ConvergedResult search_again(const gemino::State& state, const results::Result& result,
                                     const gemino::ConvergedOptions& options);

// The converged search that checks the report's tensor, made once per run: the one that
// chose the report's tensor in a converged run, else search_again with default options.
const gemino::ConvergedResult& checked_search(Run& run);

// Whether the report's tensor reaches the best objective found (within the tolerance).
bool report_is_best(const gemino::ConvergedResult& search, const results::Result& result,
                    float tolerance);

// The extent of the tensors the data cannot tell apart: their number, the largest angles
// between their sigma1s and between their sigma3s, the ranges of R and of the threshold,
// and the range of the differential stress for the CRSS, null when any threshold is not
// positive.
nlohmann::ordered_json extent_json(const gemino::SetExtent& extent, double crss_mpa);

// The `search` block: the restarts made, how many reached the best objective, the
// tolerance, whether the report's tensor is the best found and, when it is not, the best
// tensor with its objective (in the units of that tensor); then the extent of the set the
// data cannot tell apart, the differential stress for the CRSS `crss_mpa`.
nlohmann::ordered_json search_json(const gemino::ConvergedResult& search,
                                   const results::Result& result, float tolerance, double crss_mpa);

class SearchCheck : public Extension {
 public:
  void add_options(CLI::App& /*app*/) override {}
  void prepare(Run& run) override;
};

}  // namespace cli
