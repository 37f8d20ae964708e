// SPDX-License-Identifier: GPL-3.0-or-later
// Files for the tests of the reading and reporting routines: a scratch folder, input
// files written from lines, units connected to them, and the report read back as records.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "gemino/state.h"
#include "recfmt/units.h"
#include "support/records.h"
#include "support/scratch_dir.h"

namespace gemino_test {

using Lines = std::vector<std::string>;

using test_support::ScratchDir;

inline void write_lines(const std::string& path, const Lines& lines) {
  std::ofstream out(path, std::ios::binary);
  for (const std::string& l : lines) out << l << '\n';
}

using test_support::read_records;
using test_support::records_of;
using test_support::slurp;

// What a run of the terminal program left: its exit code, its console and its report.
struct TermRun {
  int exit_code = -1;
  std::string console;
  std::string report;
};

// Runs the terminal program in `dir`, its console questions answered from answers.txt
// there; the report is the folder's report.txt.
inline TermRun run_term_in(const ScratchDir& dir) {
  const std::string command =
      "cd '" + dir.file("") + "' && '" GEMINO_TERM_PATH "' < answers.txt > console.txt 2>&1";
  const int status = std::system(command.c_str());
  TermRun run;
  run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  run.console = slurp(dir.file("console.txt"));
  run.report = slurp(dir.file("report.txt"));
  return run;
}

// The line of stars that separates the parts of the report.
inline const std::string stars = "         ******************************************";
// An empty report line.
inline const std::string blank;

// Connects a unit to a file; the test fails at once if it cannot.
inline void connect(int32_t unit, const std::string& path, const char* status) {
  ASSERT_EQ(recfmt::open(unit, path, status), 0) << path;
}

// A fresh computation state and a scratch folder; every unit is closed after the test.
class StateWithFiles : public testing::Test {
 protected:
  void SetUp() override { gemino::reset_state(*s); }
  void TearDown() override { recfmt::close_all(); }

  // Unit `unit` reads these lines, written to the scratch file `name`.
  void read_from(int32_t unit, const std::string& name, const Lines& lines) {
    write_lines(dir.file(name), lines);
    connect(unit, dir.file(name), "old");
  }
  // Unit 8 writes a fresh report.txt.
  void open_report() { connect(8, dir.file("report.txt"), "unknown"); }

  // Closes the report unit and returns the records written to report.txt.
  Lines report() {
    recfmt::close(8);
    return read_records(dir.file("report.txt"));
  }

  ScratchDir dir;
  std::unique_ptr<gemino::State> s = std::make_unique<gemino::State>();
};

// A data record laid out for (2X,I3,3X,I2,4X,A1,2X,I3,2X,I3,4X,A1).
inline std::string data_record(int32_t direction, int32_t plunge, char sense, int32_t angle,
                               int32_t grain, char code) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "  %3d   %2d    %c  %3d  %3d    %c", direction, plunge, sense,
                angle, grain, code);
  return buf;
}

// A block header laid out for (I1,4X,3(I4,1X)).
inline std::string block_header(int32_t flag, int32_t a1, int32_t a2, int32_t a3) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%1d    %4d %4d %4d ", flag, a1, a2, a3);
  return buf;
}

// A small data file: two grains, each with its c-axis, an untwinned and a twinned plane.
inline Lines two_grains() {
  return {block_header(0, 0, 0, 0),
          data_record(268, 37, ' ', 0, 1, ' '),
          data_record(332, 29, ' ', 0, 1, 'N'),
          data_record(19, 15, ' ', 0, 1, 'X'),
          data_record(293, 29, ' ', 0, 2, ' '),
          data_record(358, 12, ' ', 0, 2, 'T'),
          data_record(312, 17, ' ', 0, 2, 'N'),
          data_record(999, 0, ' ', 0, 0, ' ')};
}

}  // namespace gemino_test
