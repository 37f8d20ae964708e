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

// Whether the report's tensor reaches the best objective found (within the tolerance).
bool report_is_best(const gemino::ConvergedResult& search, const results::Result& result,
                    float tolerance);

// The `search` block: the restarts made, how many reached the best objective, the
// tolerance, whether the report's tensor is the best found and, when it is not, the best
// tensor with its objective (in the units of that tensor).
nlohmann::ordered_json search_json(const gemino::ConvergedResult& search,
                                   const results::Result& result, float tolerance);

class SearchCheck : public Extension {
 public:
  void add_options(CLI::App& /*app*/) override {}
  void prepare(Run& run) override;
};

}  // namespace cli
