// SPDX-License-Identifier: GPL-3.0-or-later
// A run that did not finish: its report's last line says so, the status bar says why
// and where, and the program's exit code is not 0.
#include <gtest/gtest.h>

#include "desktop/file_bytes.h"
#include "desktop/run_end.h"
#include "support/scratch_dir.h"

namespace {

TEST(RunEnd, TheReportDecidesBeforeTheStop) {
  EXPECT_EQ(desktop::run_end(true, false), desktop::RunEnd::completed);
  // A stop asked once the report was whole (while the status was being worked out).
  EXPECT_EQ(desktop::run_end(true, true), desktop::RunEnd::completed);
  EXPECT_EQ(desktop::run_end(false, true), desktop::RunEnd::stopped);
  EXPECT_EQ(desktop::run_end(false, false), desktop::RunEnd::failed);
}

TEST(RunEnd, IncompleteLineClosesTheReportOnce) {
  const test_support::ScratchDir dir("gemino-end-");
  const std::string report = dir.file("report.txt");
  test_support::put(report, "LINE ONE\r\n");
  ASSERT_TRUE(desktop::mark_incomplete(report));
  ASSERT_TRUE(desktop::mark_incomplete(report));  // a second mark adds nothing
  EXPECT_EQ(read_bytes(report), "LINE ONE\r\n*** RAPPORT INCOMPLET : calcul interrompu ***\r\n");
  // No report yet (stopped during the dialogue): none is made.
  EXPECT_FALSE(desktop::mark_incomplete(dir.file("none.txt")));
  EXPECT_FALSE(desktop::mark_incomplete(""));
  EXPECT_FALSE(desktop::mark_incomplete(dir.path()));
}

TEST(RunEnd, FailurePlaceNamesFileLineAndColumn) {
  const std::vector<std::string> shown = {
      " New value = data.txt                      ", "? A run-time error occurred",
      "? Illegal character in numeric input",        "? READ(UNIT=2,...",
      "? File data.txt, line 12, column 7",
  };
  EXPECT_EQ(desktop::failure_place(shown), "File data.txt, line 12, column 7");
  // Without a file: the message.
  EXPECT_EQ(desktop::failure_place({"? A run-time error occurred",
                                    "? Attempt to read past end of file", "? READ(UNIT=5,..."}),
            "Attempt to read past end of file");
  EXPECT_EQ(desktop::failure_place({" ? not an error", "text"}), "");
}

TEST(RunEnd, StatusAndExitCode) {
  using desktop::RunEnd;
  EXPECT_EQ(desktop::end_status(RunEnd::stopped, "r.txt", ""),
            "The run was stopped before its end. Report r.txt: incomplete, marked so on its last "
            "line.");
  EXPECT_EQ(desktop::end_status(RunEnd::stopped, "", ""),
            "The run was stopped before its end. No report was written.");
  EXPECT_EQ(desktop::end_status(RunEnd::failed, "r.txt", "File d.txt, line 2, column 3"),
            "The run failed: File d.txt, line 2, column 3. Report r.txt: incomplete, marked so "
            "on its last line.");
  EXPECT_EQ(desktop::session_exit_code(true, 0), desktop::stopped_exit_code);
  EXPECT_EQ(desktop::session_exit_code(false, 2), 2);
  EXPECT_EQ(desktop::session_exit_code(false, 0), 0);
  EXPECT_NE(desktop::stopped_exit_code, 0);
}

}  // namespace
