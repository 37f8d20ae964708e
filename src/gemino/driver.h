// SPDX-License-Identifier: GPL-3.0-or-later
// The main program: one inversion from the console dialogue to the report.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "gemino/state.h"

namespace gemino {

// A search the report gives in place of the one the parameter file asks for: start mode 1
// drawn from `seed`, counting `twin_percent` of the twinned planes for the threshold, with
// the file's number of starting tensors and of search steps. The report's header lines
// still echo the parameter file; the tensors, ranking, threshold and charts below them
// are those of this search.
struct SearchOverride {
  int32_t seed = 0;
  int32_t twin_percent = 100;
};

// Asked once the data are read, before any starting tensor is scored: the search to
// report instead of the file's, or nullopt for the file's own.
using ChooseSearch = std::function<std::optional<SearchOverride>(const State& s)>;

// Performs exactly one run on the shared state, then stops (recfmt::stop()).
void run_driver(State& s);

// The same, the search being the one `choose` gives (the file's when it is empty or
// gives nullopt).
void run_driver(State& s, const ChooseSearch& choose);

}  // namespace gemino
