// SPDX-License-Identifier: GPL-3.0-or-later
// --tensors auto|1|2|3: separates the run's twins into one, two or three stress tensors
// after a sound run. The console gets a summary after the run's own transcript, the JSON a
// `tensors` block, the planes CSV a column with each plane's tensor, and each further
// tensor a report of its own beside the run's (report.t2.txt, report.t3.txt). With
// --stereonet FILE, each tensor gets its stereonet (FILE's name with .t1, .t2, ...) and all
// of them one more (.tensors) with the planes coloured by tensor. The run's report and
// console transcript stay as they are.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/extension.h"
#include "separation/run_outputs.h"
#include "separation/separation.h"

namespace cli {

// The names of further outputs and the CSV's tensor column: shared with the windowed program.
using separation::beside;
using separation::with_tensor_column;

class Tensors : public Extension {
 public:
  void add_options(CLI::App& app) override;
  std::vector<std::filesystem::path> outputs() const override;
  void prepare(Run& run) override;
  void write(const Run& run) override;
  void site_arguments(std::vector<std::string>& args) const override;
  std::vector<std::pair<std::string, std::string>> summary_columns() const override;

 private:
  std::string asked_;
  const CLI::Option* files_option_ = nullptr;
  const CLI::Option* stereonet_option_ = nullptr;
  const CLI::Option* dpi_option_ = nullptr;
  std::optional<separation::Separation> found_;
  std::vector<std::pair<std::filesystem::path, std::string>> files_;  // made by prepare
  std::string console_text_;
};

}  // namespace cli
