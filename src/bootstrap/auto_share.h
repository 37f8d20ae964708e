// SPDX-License-Identifier: GPL-3.0-or-later
// The results beyond the report at a share of twins the data suggest: the twin-percent scan
// suggests the share (twin_share.h), and the tensor, the bootstrap and the magnitudes are
// taken at it. gemino-term's --twin-percent auto and the windowed program's item both
// use what is here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <nlohmann/json.hpp>

#include "bootstrap/bootstrap.h"
#include "bootstrap/resampling.h"
#include "bootstrap/twin_scan.h"

namespace bootstrap {

// The share the results beyond the report use, and why.
struct ChosenShare {
  int32_t twin_percent = 100;
  bool suggested = false;  // false: the scan suggested none, the parameter file's share
  std::string reason;
};

// The suggested share of a scan, or the parameter file's when it has none.
ChosenShare choose_share(const Scan& scan, int32_t file_twin_percent);

// The run's input at the chosen share: its twin percentage, and as its tensor the scan's
// answer at that share (the converged search, offered its neighbours' answers). The
// parameter file's share, when chosen, keeps the input's own tensor.
RunInput input_at_share(const RunInput& input, const Scan& scan, const ChosenShare& chosen);

// The `twin_percent_auto` block: the share used beyond the report and why, the share of
// the report, the tensor at the share and its magnitudes for the CRSS, and the parameter
// file's share (which a report at the chosen share no longer shows).
nlohmann::ordered_json auto_json(const ChosenShare& chosen, const RunInput& at_share,
                                 int32_t report_percent, int32_t file_twin_percent,
                                 double crss_mpa);

// One console line: the share used beyond the report, and the report's.
std::string auto_text(const ChosenShare& chosen, int32_t report_percent);

// The tensor at the share and its magnitudes for the input's CRSS, as lines of text.
std::string tensor_at_share_text(const RunInput& at_share);

// A finished run's results at the suggested share, as the windowed program computes them:
// the input centred on the converged answer of the full data, the scan over `range`
// measured from it, then B resamples at the chosen share around the scan's tensor there.
struct AutoShare {
  Scan scan;
  ChosenShare chosen;
  RunInput at_share;
  Summary summary;
  bool cancelled = false;
};

enum class AutoStage { scan, bootstrap };
// Told as each inversion ends: the stage, done of total; false asks the work to stop.
using AutoProgress = std::function<bool(AutoStage stage, int32_t done, int32_t total)>;

AutoShare results_at_suggested_share(const RunInput& input, const ScanRange& range,
                                     const Options& bootstrap_options,
                                     const AutoProgress& progress = {});

// What the window shows of it: the scan table, the share used, the tensor and magnitudes at
// the share and the bootstrap summary. `report_percent` is the share the report counts.
std::string auto_share_text(const AutoShare& a, int32_t report_percent);

}  // namespace bootstrap
