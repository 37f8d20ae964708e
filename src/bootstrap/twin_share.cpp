// SPDX-License-Identifier: GPL-3.0-or-later
#include "bootstrap/twin_share.h"

#include <cstdio>
#include <vector>

namespace bootstrap {

namespace {

std::string rise_text(int32_t from_percent, double rate, double reference) {
  char buf[240];
  std::snprintf(buf, sizeof buf,
                "from %d %% on, each further twin counted brings %.2f untwinned planes above the "
                "threshold, more than the data's %.2f untwinned planes per twinned one",
                from_percent, rate, reference);
  return buf;
}

std::string no_rise_text(int32_t top_percent, double reference) {
  char buf[240];
  std::snprintf(buf, sizeof buf,
                "the untwinned planes above the threshold never come in faster than the data's "
                "%.2f untwinned planes per twinned one: the most twins scanned, %d %%",
                reference, top_percent);
  return buf;
}

}  // namespace

int32_t share_window(int32_t twinned) {
  return twinned / 20 > 2 ? twinned / 20 : 2;
}

std::optional<ShareSuggestion> suggest_share(std::span<const SharePoint> points, int32_t twinned,
                                             int32_t untwinned) {
  std::vector<const SharePoint*> rows;
  std::vector<int32_t> index;
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (!points[i].valid) continue;
    rows.push_back(&points[i]);
    index.push_back(static_cast<int32_t>(i));
  }
  if (rows.size() < 2 || twinned <= 0) return std::nullopt;
  ShareSuggestion s;
  s.reference_rate = static_cast<double>(untwinned) / static_cast<double>(twinned);
  const int32_t window = share_window(twinned);
  // The window from row a: up to the first later row that counts `window` more twins, or
  // to the last row.
  auto window_end = [&](std::size_t a) {
    std::size_t b = a + 1;
    while (b + 1 < rows.size() && rows[b]->twins_counted - rows[a]->twins_counted < window) ++b;
    return b;
  };
  // The untwinned planes above the threshold per further twin counted over a window; none
  // when the window counts no more twins.
  auto rate_over = [&](std::size_t a, std::size_t b) -> std::optional<double> {
    const int32_t more_twins = rows[b]->twins_counted - rows[a]->twins_counted;
    if (more_twins <= 0) return std::nullopt;
    return static_cast<double>(rows[b]->untwinned_above - rows[a]->untwinned_above) /
           static_cast<double>(more_twins);
  };
  for (std::size_t a = 0; a + 1 < rows.size(); ++a) {
    const std::size_t b = window_end(a);
    const std::optional<double> rate = rate_over(a, b);
    if (!rate || !(*rate > s.reference_rate)) continue;
    // A rise that the next window does not keep up is noise, not the knee.
    if (b + 1 < rows.size()) {
      const std::optional<double> next = rate_over(b, window_end(b));
      if (next && !(*next > s.reference_rate)) continue;
    }
    // The knee lies in the window: the suggestion is its last row before the untwinned
    // planes above the threshold outnumber those of its first row.
    std::size_t last = a;
    while (last + 1 < b && rows[last + 1]->untwinned_above <= rows[a]->untwinned_above) ++last;
    s.twin_percent = rows[last]->twin_percent;
    s.row = index[last];
    s.rate_after = *rate;
    s.reason = rise_text(rows[a]->twin_percent, *rate, s.reference_rate);
    return s;
  }
  s.twin_percent = rows.back()->twin_percent;
  s.row = index.back();
  s.reason = no_rise_text(rows.back()->twin_percent, s.reference_rate);
  return s;
}

}  // namespace bootstrap
