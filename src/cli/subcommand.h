// SPDX-License-Identifier: GPL-3.0-or-later
// The command line of a subcommand (gemino-term convert, merge-summaries) read by its parser.
#pragma once

#include <CLI/CLI.hpp>
#include <optional>
#include <string_view>

namespace cli {

// Parses the arguments. Returns the exit code when the command ends here: 0 after --help
// (the help printed), exit_usage after a line that cannot be followed (said on the standard
// error, naming the subcommand); nothing when the command goes on.
std::optional<int> parse_subcommand(CLI::App& app, int argc, char** argv, std::string_view name);

}  // namespace cli
