// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/result_files.h"

#include <iostream>

#include "cli/tensors.h"
#include "results/json_export.h"

namespace cli {

void ResultFiles::add_options(CLI::App& app) {
  app.add_option("--json", json_, "Write the result (tensors, stress, every plane) as JSON")
      ->type_name("FILE")
      ->group("Outputs");
  app.add_option("--csv", csv_, "Write one row per plane as CSV")
      ->type_name("FILE")
      ->group("Outputs");
}

std::vector<std::filesystem::path> ResultFiles::outputs() const {
  const std::string names[] = {json_, csv_};
  return asked_files(names);
}

void ResultFiles::prepare(Run& run) {
  // Not on the console: its transcript is the run's own.
  for (const std::string& warning : run.result.warnings) {
    std::cerr << "gemino-term: warning: " << warning << "\n";
  }
}

void ResultFiles::write(const Run& run) {
  if (!json_.empty()) {
    nlohmann::ordered_json j = results::to_json(run.result, run.stress);
    for (const auto& [key, block] : run.json_blocks.items()) j[key] = block;
    write_file(json_, j.dump(2) + "\n");
  }
  if (!csv_.empty()) {
    const std::string csv = results::planes_csv(run.result);
    write_file(csv_, run.plane_tensors.empty() ? csv : with_tensor_column(csv, run.plane_tensors));
  }
}

std::string ResultFiles::batch_conflict() const {
  if (json_.empty() && csv_.empty()) return {};
  return "--json and --csv name the files of one run; a batch writes result.json in each site";
}

}  // namespace cli
