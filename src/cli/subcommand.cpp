// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/subcommand.h"

#include <iostream>

#include "cli/extension.h"

namespace cli {

std::optional<int> parse_subcommand(CLI::App& app, int argc, char** argv, std::string_view name) {
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp&) {
    std::cout << app.help();
    return 0;
  } catch (const CLI::ParseError& e) {
    std::cerr << "gemino-term " << name << ": " << e.what() << " (see gemino-term " << name
              << " --help)\n";
    return exit_usage;
  }
  return std::nullopt;
}

}  // namespace cli
