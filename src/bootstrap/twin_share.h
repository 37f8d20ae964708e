// SPDX-License-Identifier: GPL-3.0-or-later
// The share of twins to count, read from a twin-percent scan: where the untwinned planes
// ranked above the threshold begin to come in faster than the labels alone would let them.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace bootstrap {

// One row of a scan as the rule reads it.
struct SharePoint {
  int32_t twin_percent = 0;
  bool valid = false;
  int32_t twins_counted = 0;
  int32_t untwinned_above = 0;
};

struct ShareSuggestion {
  int32_t twin_percent = 0;
  int32_t row = 0;              // index of the suggested row among the points
  double reference_rate = 0.0;  // untwinned planes per twinned plane in the data
  double rate_after = 0.0;      // the rate over the window past the suggested row
  std::string reason;           // one line, for the JSON and the console
};

// The width of the window the rule looks ahead by: 5 % of the twinned planes, at least 2.
int32_t share_window(int32_t twinned);

// The untwinned planes per twin counted past each inverted row, over a window of
// share_window(twinned) more twins counted, are compared with the data's own ratio of
// untwinned to twinned planes: labels that tell nothing would let in that many. At the
// first row whose rate exceeds it, and whose next window's rate (if there is one) exceeds
// it too, the knee is in its window: the suggestion is the last row of the window before
// the untwinned planes above the threshold outnumber those of that first row. When no
// row qualifies, the suggestion is the last inverted row.
// The suggested share, or none when fewer than two rows were inverted.
std::optional<ShareSuggestion> suggest_share(std::span<const SharePoint> points, int32_t twinned,
                                             int32_t untwinned);

}  // namespace bootstrap
