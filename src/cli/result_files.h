// SPDX-License-Identifier: GPL-3.0-or-later
// --json FILE and --csv FILE: the result model as JSON, and one CSV row per plane.
#pragma once

#include "cli/extension.h"

namespace cli {

class ResultFiles : public Extension {
 public:
  void add_options(CLI::App& app) override;
  std::vector<std::filesystem::path> outputs() const override;
  void prepare(Run& run) override;
  void write(const Run& run) override;
  std::string batch_conflict() const override;

 private:
  std::string json_;
  std::string csv_;
};

}  // namespace cli
