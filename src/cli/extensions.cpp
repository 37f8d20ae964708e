// SPDX-License-Identifier: GPL-3.0-or-later
// The one list of the command line's extensions: each adds its options and its outputs
// from a file of its own. Add a line here for a new one.
#include "cli/confidence.h"
#include "cli/extension.h"
#include "cli/figure_files.h"
#include "cli/result_files.h"
#include "cli/search_check.h"
#include "cli/tensors.h"

namespace cli {

std::vector<std::unique_ptr<Extension>> make_extensions() {
  std::vector<std::unique_ptr<Extension>> all;
  all.push_back(std::make_unique<ResultFiles>());
  all.push_back(std::make_unique<FigureFiles>());
  all.push_back(std::make_unique<Confidence>());
  all.push_back(std::make_unique<SearchCheck>());
  all.push_back(std::make_unique<Tensors>());
  return all;
}

std::vector<std::filesystem::path> asked_files(std::span<const std::string> names) {
  std::vector<std::filesystem::path> paths;
  for (const std::string& name : names) {
    if (!name.empty()) paths.emplace_back(name);
  }
  return paths;
}

}  // namespace cli
