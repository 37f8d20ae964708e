// SPDX-License-Identifier: GPL-3.0-or-later
// A batch of sites: one run of this very program per site folder (the computation's state
// is one static area, so each site has a process of its own), several at once, and a
// summary with one row per site in the order given.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "cli/extension.h"

namespace cli {

// The files of a site folder.
inline constexpr const char* site_params = "params.txt";
inline constexpr const char* site_data = "data.txt";
inline constexpr const char* site_report = "report.txt";
inline constexpr const char* site_json = "result.json";
inline constexpr const char* site_console = "console.txt";

// A system call the batch depends on failed (it cannot wait for its site runs).
inline constexpr int exit_os_error = 71;

// Why the batch cannot be run as asked (exit_usage), or empty; found before any site runs.
std::string batch_usage_problem(const Options& options,
                                const std::vector<std::unique_ptr<Extension>>& extensions);

// Runs every site; writes the summary; returns 0 when every site ran to its end, 1 when one
// did not or was not run, exit_cant_create when the summary could not be written. SIGINT,
// SIGTERM and SIGHUP are passed on to the running sites, which are waited for; the batch
// then ends as the signal ends a program.
int run_batch(const Options& options, const std::vector<std::unique_ptr<Extension>>& extensions);

// The summary's header row, and the row of one site from its exit code and the text of its
// result.json (empty when there is none).
std::string summary_header();
std::string summary_row(const std::string& site, int exit_code, const std::string& json_text);

// The same with the columns extensions add last: a name and a JSON pointer each.
using SummaryColumns = std::vector<std::pair<std::string, std::string>>;
// The columns every summary has after site and exit_code.
SummaryColumns standard_summary_columns();
std::string summary_header(const SummaryColumns& extra);
std::string summary_row(const std::string& site, int exit_code, const std::string& json_text,
                        const SummaryColumns& extra);

}  // namespace cli
