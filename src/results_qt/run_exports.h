// SPDX-License-Identifier: GPL-3.0-or-later
// What the "Results" menu writes for a run: the JSON of its result with the blocks the
// session's computations made for it, exactly as the terminal program writes them for the
// same computations; the planes CSV with each plane's tensor once the twins were separated;
// and any text file, never over one of the run's own files. Each says in a line for the
// status bar what was written where, or why nothing was.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "results/result_model.h"

namespace results_qt {

struct RunResults;

// Keeps `json` as the run's block `key`, made for the CRSS `crss_mpa`, in place of any
// earlier one.
void keep_block(RunResults& run, const std::string& key, nlohmann::ordered_json json,
                double crss_mpa);

// The run's JSON for the CRSS `crss_mpa`: the result, then the blocks in the order the
// terminal program writes them (bootstrap, scan, twin_percent_auto, tensors). A block made
// for another CRSS is left out, its key in `left_out`: its differential stresses are not
// those of the result's.
struct RunJson {
  nlohmann::ordered_json json;
  std::vector<std::string> left_out;
};
RunJson run_json(const RunResults& run, const results::Result& r, double crss_mpa);

// The planes CSV, with the `tensor` column once the run's twins were separated.
std::string run_csv(const RunResults& run, const results::Result& r);

// Writes `bytes` to `path` whole (a temporary renamed once complete), unless `path` names
// one of `run_files`. `what` names the text in the message ("JSON", "Bootstrap summary").
struct Outcome {
  bool written = false;
  std::string message;  // "JSON written to /d/result.json", or why it was not
};
Outcome write_output(const std::vector<std::string>& run_files, const std::string& what,
                     const std::string& path, const std::string& bytes);

}  // namespace results_qt
