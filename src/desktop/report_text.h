// SPDX-License-Identifier: GPL-3.0-or-later
// The report of a run as the "View report" window shows it.
#pragma once

#include <cstdint>
#include <string>

namespace desktop {

struct ReportText {
  std::string text;   // UTF-8, lines ended by '\n'
  std::string error;  // why it could not be read; empty when it was
};

// Reports beyond this are not a run's report (500 planes make well under a megabyte).
inline constexpr int64_t largest_report = 64 * 1024 * 1024;

// Reads the report: CR LF and a lone CR end lines as '\n'; text that is not UTF-8 is taken
// as Latin-1 (the report's French may be either); form feeds and other control characters
// stay out of the view. A missing or unreadable file, a folder or an oversized file
// gives an error naming the path.
ReportText load_report(const std::string& path);

}  // namespace desktop
