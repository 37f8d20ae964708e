// SPDX-License-Identifier: GPL-3.0-or-later
// Which search a run reports. The classic search is the parameter file's own; the
// converged one is the answer of independent restarts (gemino/converged.h), reported as
// the search that found it, so that the report keeps its format and every figure in it
// is one a plain run gives: the restart's seed with start mode 1, or the file's own
// search when none of the restarts does better.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "gemino/converged.h"
#include "gemino/driver.h"

namespace gemino {

enum class SearchMode : int32_t { classic, converged };

// The mode a name gives ("classic", "converged"), or nullopt for any other name.
std::optional<SearchMode> search_mode_named(std::string_view name);
const char* search_mode_name(SearchMode mode);

struct ReportSearch {
  ConvergedResult converged;
  // The search that gives the answer, as the report makes it (nullopt: the file's own).
  std::optional<SearchOverride> search;
  // The seed of that search: the answer restart's or the parameter file's.
  int32_t seed = 0;
};

// The search of the parameter file at `twin_percent`, start mode 1, on the data of s.
InversionOptions file_search(const State& s, int32_t twin_percent);

// The converged search on the data rows of s (as the data reader left them) counting
// `twin_percent` of the twinned planes. When the file's start mode is 1, the file's own
// search at that share is a candidate, and the report keeps it whenever it reaches the
// best objective (within the tolerance): at the file's share the report is then the
// classic report itself. Otherwise the report is the search of the answer restart.
// Progress goes to report_progress as the run's own.
ReportSearch choose_converged(const State& s, int32_t twin_percent,
                              const ConvergedOptions& options);

// The driver's hook for a converged run: choose_converged at `twin_percent` (0: the
// file's share), its outcome kept in *kept for the run's other outputs.
ChooseSearch converged_choice(const ConvergedOptions& options, int32_t twin_percent,
                              ReportSearch* kept);

// What a user is told after a check of the report's tensor by a converged search: empty
// when the report's tensor (objective `report_objective`, in the units of that tensor)
// reaches the best objective found within the tolerance, else one sentence that says so
// with both objectives.
std::string not_best_text(float report_objective, const ConvergedResult& search, float tolerance);

// What the desktop's status bar adds to the result: in a classic run, when the report's
// tensor is not the best found, both objectives and where to find the choice that reports
// the best (empty when it is the best); in a converged run, that the report is the
// converged answer.
std::string search_status_text(SearchMode mode, float report_objective,
                               const ConvergedResult& search, float tolerance);

}  // namespace gemino
