// SPDX-License-Identifier: GPL-3.0-or-later
// Batch summaries written in parts (the shares of a survey run on several machines) made
// into the one summary the whole batch would have written: `gemino-term merge-summaries`.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace cli {

// A summary file: its name (for messages) and its text.
struct SummaryPart {
  std::string name;
  std::string text;
};

// The merged summary, or why there is none (`problem` not empty, then `text` is empty).
struct Merged {
  std::string text;
  std::string problem;
};

// The header once, then every part's rows in the order of `sites` (the sites as the batch
// was given them, matched against each row's site field exactly). Refused: a part that is
// not a summary, headers that differ, a row whose field count is not the header's, a site
// named twice (in the list or in the rows), a row of a site not in the list and a site of
// the list found in no part. Each row's text is kept as it was.
Merged merge_summaries(const std::vector<std::string>& sites,
                       const std::vector<SummaryPart>& parts);

// The subcommand: `gemino-term merge-summaries ...` with argv[0] "merge-summaries".
// Returns the exit code: 0, exit_usage, 65 (parts that do not merge), exit_no_input (a
// file that cannot be read) or exit_cant_create; nothing is written unless it is 0.
int merge_summaries_main(int argc, char** argv);

}  // namespace cli
