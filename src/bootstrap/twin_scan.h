// How the answer depends on the share of twins counted: the inversion again for each
// percentage, with the run's starting tensors and search steps, in parallel.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "bootstrap/resampling.h"

namespace bootstrap {

struct ScanRange {
  int32_t first = 0;
  int32_t last = 0;
  int32_t step = 0;
};

// "first:last:step" (e.g. 70:100:5), percentages 1..100, step > 0, first <= last.
std::optional<ScanRange> parse_scan_range(std::string_view text);

struct ScanRow {
  int32_t twin_percent = 0;
  bool valid = false;
  results::TensorResult tensor{};
  std::optional<double> differential_mpa;  // none when SEUIL is not positive
  int32_t incompatible_twins = 0;          // twinned planes ranked below the threshold
  int32_t untwinned_above = 0;             // untwinned planes ranked above it
  double sigma1_to_run_deg = 0.0;          // angle to the run's own sigma1
  double sigma3_to_run_deg = 0.0;
};

struct Scan {
  ScanRange range;
  bool cancelled = false;
  std::vector<ScanRow> rows;
};

Scan run_scan(const RunInput& input, const ScanRange& range, int32_t jobs,
              const std::function<bool(int32_t done, int32_t total)>& progress = {});

}  // namespace bootstrap
