// SPDX-License-Identifier: GPL-3.0-or-later
// --bootstrap B, --bootstrap-seed S, --bootstrap-csv FILE, --scan-twin-percent A:B:STEP,
// --scan-figure FILE, --crss-range LOW:HIGH, --twin-percent auto and --confidence-summary: how
// well the data constrain the tensor, and how it depends on the share of twins counted. The
// blocks go into the --json file and the marks onto the stress stereonet; the console shows
// the summaries only when asked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/extension.h"
#include "cli/twin_share_auto.h"

namespace cli {

class Confidence : public Extension {
 public:
  void add_options(CLI::App& app) override;
  std::vector<std::filesystem::path> outputs() const override;
  void prepare(Run& run) override;
  void write(const Run& run) override;
  gemino::ChooseSearch converged_search(const Options& options,
                                        gemino::ReportSearch* kept) override;
  void site_arguments(std::vector<std::string>& args) const override;
  std::string batch_conflict() const override;
  std::string usage_conflict() const override;

 private:
  int32_t resamples_ = 0;
  uint64_t seed_ = 1;
  std::string csv_;
  std::string crss_range_text_;
  std::string scan_text_;
  std::string twin_percent_text_;  // "auto" or empty
  std::string scan_figure_;
  std::string scan_figure_bytes_;
  bool summary_ = false;
  const CLI::Option* dpi_option_ = nullptr;  // --dpi, when the figures' options have it
  std::string csv_text_;
  std::string console_text_;
  // The scan a converged run made before its search, and the share it counts.
  std::optional<ShareBeforeRun> before_run_;
};

}  // namespace cli
