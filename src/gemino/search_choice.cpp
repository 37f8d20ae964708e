// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/search_choice.h"

#include <cstdio>
#include <vector>

#include "gemino/invert.h"
#include "gemino/progress.h"

namespace gemino {

std::optional<SearchMode> search_mode_named(std::string_view name) {
  if (name == "classic") return SearchMode::classic;
  if (name == "converged") return SearchMode::converged;
  return std::nullopt;
}

const char* search_mode_name(SearchMode mode) {
  return mode == SearchMode::converged ? "converged" : "classic";
}

InversionOptions file_search(const State& s, int32_t twin_percent) {
  InversionOptions run;
  run.start_mode = 1;
  run.trial_count = s.trial_count;
  run.twin_percent = twin_percent;
  run.seed = s.record.seed;
  run.iteration_limit = s.iteration_limit;
  run.progress = [](ProgressStage stage, int32_t done, int32_t total) {
    report_progress(stage, done, total);
    return true;
  };
  return run;
}

ReportSearch choose_converged(const State& s, int32_t twin_percent,
                              const ConvergedOptions& options) {
  const std::vector<PlaneRow> rows = rows_of(s);
  const InversionOptions run = file_search(s, twin_percent);
  ConvergedOptions with_file = options;
  // With another start mode the file's search needs the starting records the run has not
  // read yet: the restarts alone then decide.
  const bool file_candidate = s.start_mode == 1;
  if (file_candidate) {
    const InversionResult own = invert(rows, run);
    if (own.status == InversionStatus::done) {
      const float* p = own.final.tensor.params;
      with_file.candidates.push_back({p[0], p[1], p[2], p[3]});
    }
  }
  ReportSearch out;
  out.converged = invert_converged(rows, run, with_file);
  // The file's own search is kept whenever it reaches the best objective found: a
  // converged report differs from the classic one only where the classic one stops short.
  const std::size_t file_index = options.candidates.size();
  const std::vector<float>& scored = out.converged.candidate_objectives;
  const bool file_is_best =
      file_candidate && file_index < scored.size() &&
      scored[file_index] - out.converged.best.objective_reported <= options.tolerance;
  if (file_is_best) {
    out.seed = run.seed;
    if (twin_percent != s.twin_percent) out.search = SearchOverride{run.seed, twin_percent};
  } else if (out.converged.best_restart >= 0) {
    out.seed = restart_seed(run.seed, out.converged.best_restart);
    out.search = SearchOverride{out.seed, twin_percent};
  } else {
    // A caller's candidate scores lowest: no search of this run gives it, and the report
    // stays the file's.
    out.seed = run.seed;
  }
  return out;
}

ChooseSearch converged_choice(const ConvergedOptions& options, int32_t twin_percent,
                              ReportSearch* kept) {
  return [options, twin_percent, kept](const State& s) {
    ReportSearch chosen =
        choose_converged(s, twin_percent > 0 ? twin_percent : s.twin_percent, options);
    const std::optional<SearchOverride> search = chosen.search;
    if (kept != nullptr) *kept = std::move(chosen);
    return search;
  };
}

std::string not_best_text(float report_objective, const ConvergedResult& search, float tolerance) {
  if (report_objective - search.best.objective_reported <= tolerance) return {};
  char line[160];
  std::snprintf(line, sizeof line,
                "the report's tensor is not the best found: objective %.4f, "
                "a converged search reached %.4f",
                static_cast<double>(report_objective),
                static_cast<double>(search.best.objective_reported));
  return line;
}

std::string search_status_text(SearchMode mode, float report_objective,
                               const ConvergedResult& search, float tolerance) {
  if (mode == SearchMode::converged) return "report from the converged search";
  if (report_objective - search.best.objective_reported <= tolerance) return {};
  // Short enough for a status bar beside the tensor.
  char line[160];
  std::snprintf(line, sizeof line, "not the best found: %.2f > %.2f (Search menu)",
                static_cast<double>(report_objective),
                static_cast<double>(search.best.objective_reported));
  return line;
}

}  // namespace gemino
