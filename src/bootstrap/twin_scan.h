// SPDX-License-Identifier: GPL-3.0-or-later
// How the answer depends on the share of twins counted: the converged inversion for each
// percentage, then two passes that offer each percentage its neighbours' answers, so that
// the best objective never rises as fewer twins are counted. A share of twins to count is
// suggested from the knee of the table (twin_share.h).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "bootstrap/resampling.h"
#include "bootstrap/twin_share.h"

namespace bootstrap {

struct ScanRange {
  int32_t first = 0;
  int32_t last = 0;
  int32_t step = 0;
};

// The range `--twin-percent auto` scans when no range is given: every percentage from
// half of the twins to all of them.
inline constexpr ScanRange auto_scan_range{50, 100, 1};

// "first:last:step" (e.g. 70:100:5), percentages 1..100, step > 0, first <= last.
std::optional<ScanRange> parse_scan_range(std::string_view text);

struct ScanRow {
  int32_t twin_percent = 0;
  bool valid = false;
  int32_t twins_counted = 0;  // INT(p * twinned / 100), as the inversion takes it
  results::TensorResult tensor{};
  std::optional<double> differential_mpa;  // none when SEUIL is not positive
  int32_t incompatible_twins = 0;          // twinned planes ranked below the threshold
  int32_t untwinned_above = 0;             // untwinned planes ranked above it
  double sigma1_to_run_deg = 0.0;          // angle to the run's own sigma1
  double sigma3_to_run_deg = 0.0;
  // Where the answer came from: the row's own converged search, or a neighbour's answer
  // (or the run's tensor) that scored strictly lower on the row's share.
  bool from_neighbour = false;
};

struct Scan {
  ScanRange range;
  bool cancelled = false;
  int32_t twinned_planes = 0;
  int32_t untwinned_planes = 0;
  std::vector<ScanRow> rows;
  // The share suggested by suggest_share; none when the scan was cancelled or too few
  // rows were inverted.
  std::optional<ShareSuggestion> suggestion;
};

// The twin counts of the rows, in the order of the rows, as suggest_share takes them.
std::vector<SharePoint> share_points(const Scan& scan);

Scan run_scan(const RunInput& input, const ScanRange& range, int32_t jobs,
              const std::function<bool(int32_t done, int32_t total)>& progress = {});

}  // namespace bootstrap
