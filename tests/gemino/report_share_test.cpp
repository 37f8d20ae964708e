// SPDX-License-Identifier: GPL-3.0-or-later
// The share a run counted written into its report after the search was chosen: two fields
// change, nothing else moves, and a report without the records is left alone.
#include "gemino/report_share.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "gemino/io_files.h"

namespace {

using gemino_test::ScratchDir;
using gemino_test::slurp;

// Ten text lines (the first holding the counts' label, as a title may), the echo of the run
// parameters, a data listing, the twin counts and what follows them.
std::string report(const std::string& echo, const std::string& counts) {
  std::string r = "  POURCENTAGE   12 title\r\n";
  for (int k = 1; k < 10; ++k) r += " comment line " + std::to_string(k) + "\r\n";
  r += echo + "\r\n\r\n  MACLE  265   10\r\n\r\n NOMBRE DE MACLES      54.\r\n";
  r += "  NOMBRE DE NON MACLES     126.\r\n" + counts + "\r\n  POURCENTAGE   99 later\r\n";
  return r;
}

TEST(ReportShare, TheEchoAndTheCountsSayTheShareCounted) {
  const ScratchDir dir;
  const std::string name = dir.file("report.txt");
  std::ofstream(name, std::ios::binary) << report("    1  30  80 *** 400 0", "  POURCENTAGE   43");
  ASSERT_TRUE(gemino::write_share_used(name, 10, 100, 54));
  EXPECT_EQ(slurp(name), report("    1  30 100 *** 400 0", "  POURCENTAGE   54"));
  // Back to a narrower share, the name given with the blanks of a fixed-length field.
  ASSERT_TRUE(gemino::write_share_used("  " + name + "   ", 10, 7, 3));
  EXPECT_EQ(slurp(name), report("    1  30   7 *** 400 0", "  POURCENTAGE    3"));
}

TEST(ReportShare, AReportWithoutTheRecordsIsLeftAlone) {
  struct Case {
    const char* what;
    std::string text;
    int32_t echo_record;
  };
  std::string no_counts = report("    1  30  80 *** 400 0", "  NOTHING");
  no_counts.erase(no_counts.rfind("  POURCENTAGE   99"));
  const Case cases[] = {
      {"no counts after the echo", no_counts, 10},
      {"an echo too short", report("    1  30  8", "  POURCENTAGE   43"), 10},
      {"counts too short", report("    1  30  80 *** 400 0", "  POURCENTAGE  4"), 10},
      {"fewer records than the echo's", "    1  30  80 *** 400 0\r\n", 10},
      {"a record before the first", report("    1  30  80 *** 400 0", "  POURCENTAGE   43"), -1},
  };
  for (const Case& c : cases) {
    const ScratchDir dir;
    const std::string name = dir.file("report.txt");
    std::ofstream(name, std::ios::binary) << c.text;
    EXPECT_FALSE(gemino::write_share_used(name, c.echo_record, 100, 54)) << c.what;
    EXPECT_EQ(slurp(name), c.text) << c.what;
  }
  EXPECT_FALSE(gemino::write_share_used("/nonexistent/report.txt", 10, 100, 54));
  EXPECT_FALSE(gemino::write_share_used("   ", 10, 100, 54));
}

TEST(ReportShare, FieldsAsTheI3EditWritesThem) {
  const std::pair<int32_t, const char*> cases[] = {
      {0, "  0"},   {7, "  7"},    {80, " 80"},  {100, "100"},
      {999, "999"}, {1000, "***"}, {-99, "-99"}, {-100, "***"},
  };
  for (const auto& [value, field] : cases) EXPECT_EQ(gemino::i3_field(value), field) << value;
}

}  // namespace
