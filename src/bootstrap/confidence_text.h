// SPDX-License-Identifier: GPL-3.0-or-later
// The bootstrap and the twin-percent scan as the outputs give them: the JSON blocks, the
// CSV of the resampled axes, and the console summaries.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "bootstrap/bootstrap.h"
#include "bootstrap/twin_scan.h"

namespace bootstrap {

// How many of the most influential grains the summaries list.
inline constexpr std::size_t listed_grains = 5;

nlohmann::ordered_json bootstrap_json(const Summary& s);
nlohmann::ordered_json scan_json(const Scan& scan, int32_t run_twin_percent);

// One row per resample: index, then trend, plunge and vector of sigma1..3, R, SEUIL and
// the differential stress; records end with a line feed.
std::string resamples_csv(const Summary& s);

std::string bootstrap_summary_text(const Summary& s);
std::string scan_table_text(const Scan& scan);

}  // namespace bootstrap
