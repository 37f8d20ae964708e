// SPDX-License-Identifier: GPL-3.0-or-later
#include "bootstrap/crss_range.h"

#include <charconv>
#include <cmath>

#include "bootstrap/resampling.h"

namespace bootstrap {

namespace {

std::optional<double> decimal(std::string_view text) {
  // A sign, a hexadecimal form or an infinity is not an amount of stress.
  if (text.empty() || !((text[0] >= '0' && text[0] <= '9') || text[0] == '.')) return {};
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value, std::chars_format::general);
  if (ec != std::errc() || ptr != end || !std::isfinite(value)) return {};
  return value;
}

}  // namespace

std::optional<CrssRange> parse_crss_range(std::string_view text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return {};
  const auto low = decimal(text.substr(0, colon));
  const auto high = decimal(text.substr(colon + 1));
  if (!low || !high || !(*low > 0.0) || !(*low <= *high)) return {};
  return CrssRange{*low, *high};
}

double draw_crss(const CrssRange& range, TaskRandom& random) {
  // 53 random bits: u in [0, 1); rounding may not carry the value past high.
  const double u = static_cast<double>(random.next() >> 11) * 0x1.0p-53;
  const double value = range.low_mpa + (range.high_mpa - range.low_mpa) * u;
  return value > range.high_mpa ? range.high_mpa : value;
}

}  // namespace bootstrap
