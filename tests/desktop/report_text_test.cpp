// SPDX-License-Identifier: GPL-3.0-or-later
// The report as the view shows it: line ends made one, Latin-1 read as such, and every
// way a file may be unreadable said with its path.
#include "desktop/report_text.h"

#include <gtest/gtest.h>

#include "support/scratch_dir.h"

namespace {

using test_support::ScratchDir;

TEST(ReportText, LinesAndEncodings) {
  const std::pair<std::string, std::string> cases[] = {
      {"A\r\nB\r\n", "A\nB\n"},
      {"A\nB", "A\nB\n"},
      {"A\rB\r\n\r\nC", "A\nB\n\nC\n"},
      {"", ""},
      {"CONTRAINTE \xe9tudi\xe9\x65\r\n", "CONTRAINTE \xc3\xa9tudi\xc3\xa9\x65\n"},  // Latin-1
      {"\xc3\xa9t\xc3\xa9\n", "\xc3\xa9t\xc3\xa9\n"},                                // UTF-8
      {"\fPAGE 2\n", "PAGE 2\n"},
  };
  ScratchDir dir;
  for (const auto& [bytes, shown] : cases) {
    test_support::put(dir.file("report.txt"), bytes);
    const desktop::ReportText r = desktop::load_report(dir.file("report.txt"));
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.text, shown);
  }
}

TEST(ReportText, UnreadableFilesSayWhy) {
  ScratchDir dir;
  const desktop::ReportText missing = desktop::load_report(dir.file("none.txt"));
  EXPECT_EQ(missing.error, dir.file("none.txt") + ": no such file");
  EXPECT_EQ(desktop::load_report(dir.path()).error, dir.path() + ": a folder, not a report");
  test_support::put(dir.file("big.txt"), "");
  std::filesystem::resize_file(dir.file("big.txt"), desktop::largest_report + 1);
  EXPECT_NE(desktop::load_report(dir.file("big.txt")).error.find("too large"), std::string::npos);
  std::filesystem::resize_file(dir.file("big.txt"), 1000);
  EXPECT_EQ(desktop::load_report(dir.file("big.txt")).error, "");
}

}  // namespace
