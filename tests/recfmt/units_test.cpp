// SPDX-License-Identifier: GPL-3.0-or-later
// Units, files, console hooks and the end of the run.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "recfmt/hooks.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "recfmt/units.h"
#include "support/fake_console.h"
#include "support/records.h"
#include "support/scratch_dir.h"

namespace recfmt {
namespace {

using test_support::put;
using test_support::slurp;

class Files : public ::testing::Test {
 protected:
  void TearDown() override { close_all(); }
  std::string path(const std::string& name) const { return scratch_.file(name); }
  static bool exists(const std::string& p) { return access(p.c_str(), F_OK) == 0; }

  test_support::FakeConsole console_;
  test_support::ScratchDir scratch_{"recfmt-units-"};
  const std::string dir_ = scratch_.path();
};

TEST_F(Files, OpenFollowsNameAndStatusRules) {
  EXPECT_NE(open(3, path("missing.txt"), "old"), 0);
  EXPECT_FALSE(exists(path("missing.txt")));
  EXPECT_EQ(open(3, "  " + path("new.txt") + "   ", "UNKNOWN"), 0);
  EXPECT_TRUE(exists(path("new.txt")));
  close(3);
  EXPECT_EQ(open(3, path("new.txt"), "Old"), 0);
  close(3);
  // Names that can never be opened, whatever the status; nothing is created.
  for (const std::string& name :
       {std::string("?"), std::string("          "), path("a?b"), path("a*b"), std::string()}) {
    EXPECT_NE(open(4, name, "unknown"), 0) << name;
    EXPECT_NE(open(4, name, "old"), 0) << name;
  }
  EXPECT_FALSE(exists(path("a?b")));
  EXPECT_FALSE(exists(path("a*b")));
  // An "old" file that cannot be written is read; to be written it fails to open. A
  // directory never opens.
  put(path("ro.txt"), "x\n");
  chmod(path("ro.txt").c_str(), 0444);
  if (geteuid() != 0) {
    EXPECT_NE(open(3, path("ro.txt"), "unknown"), 0);
    ASSERT_EQ(open(3, path("ro.txt"), "old"), 0);
    Text<1> t;
    read(3, Format("(A)"), {t});
    EXPECT_EQ(t.view(), "x");
  }
  EXPECT_NE(open(3, dir_, "old"), 0);
  // A file being read never opens for writing on another unit, under any of its names.
  ASSERT_EQ(open(3, path("new.txt"), "old"), 0);
  symlink(path("new.txt").c_str(), path("link.txt").c_str());
  for (const std::string& name : {path("new.txt"), dir_ + "/./new.txt", path("link.txt")}) {
    EXPECT_EQ(unit_of_file(name), 3) << name;
    EXPECT_NE(open(4, name, "replace"), 0) << name;
    EXPECT_NE(open(4, name, "unknown"), 0) << name;
  }
  EXPECT_EQ(open(4, path("link.txt"), "old"), 0);
  close(4);
  close(3);
  EXPECT_EQ(unit_of_file(path("new.txt")), 0);
  EXPECT_FALSE(is_connected(3));
  EXPECT_TRUE(is_connected(5));
  EXPECT_TRUE(is_connected(6));
  EXPECT_TRUE(is_connected(star));
}

TEST_F(Files, WrittenFileEndsAfterItsLastRecord) {
  put(path("out.txt"), "an older and much longer content\nsecond line\nthird\n");
  ASSERT_EQ(open(8, path("out.txt"), "unknown"), 0);
  write(8, Format("(I3)"), {7});
  write(8, Format("(/,A)"), {"ab"});
  close(8);
  EXPECT_EQ(slurp(path("out.txt")), "  7\r\n\r\nab\r\n");
  // Reopened and written again, the old records go.
  ASSERT_EQ(open(8, path("out.txt"), "old"), 0);
  write(8, Format("(A)"), {"z"});
  close(8);
  EXPECT_EQ(slurp(path("out.txt")), "z\r\n");
  // Status "replace" cuts the file at once, before any record is written.
  ASSERT_EQ(open(8, path("out.txt"), "replace"), 0);
  EXPECT_EQ(slurp(path("out.txt")), "");
}

TEST_F(Files, FailedWriteEndsTheRunInsteadOfLosingRecords) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  ASSERT_EQ(open(8, "/dev/full", "old"), 0);
  EXPECT_EQ(run_program([] { write(8, Format("(A)"), {"lost"}); }), 2);
  const std::string& out = console_.output();
  EXPECT_EQ(out.substr(out.find("\r\n") + 2),
            "? Error writing the record\r\n? WRITE(UNIT=8,...\r\n");
}

TEST_F(Files, StopClosesUnitsFlushesAndCallsProgramEndOnce) {
  ASSERT_EQ(open(8, path("report.txt"), "unknown"), 0);
  write(8, Format("(A)"), {"kept"});
  try {
    stop(3);
    FAIL() << "stop returned";
  } catch (const StopRun& s) {
    EXPECT_EQ(s.exit_code, 3);
  }
  EXPECT_EQ(console_.end_calls(), 1);
  EXPECT_EQ(console_.end_code(), 3);
  EXPECT_FALSE(is_connected(8));
  EXPECT_EQ(slurp(path("report.txt")), "kept\r\n");
}

TEST_F(Files, RunProgramReturnsTheStopCode) {
  EXPECT_EQ(run_program([] { write(6, Format("(A)"), {"hello"}); }), 0);
  EXPECT_EQ(console_.output(), "hello\r\n");
  EXPECT_EQ(console_.end_calls(), 1);
  EXPECT_EQ(run_program([] { stop(5); }), 5);
  // Memory running out ends the run like any failure, never as an uncaught exception.
  EXPECT_EQ(run_program([] { throw std::bad_alloc(); }), 2);
  EXPECT_EQ(console_.end_code(), 2);
  EXPECT_EQ(run_program([] { write(3, Format("(A)"), {"x"}); }), 2);
}

TEST_F(Files, UnconnectedUnitEndsTheRunWithThreeLines) {
  EXPECT_EQ(run_program([] { write(3, Format("(A)"), {"x"}); }), 2);
  const std::string& out = console_.output();
  EXPECT_EQ(out.substr(out.find("\r\n") + 2),
            "? Unit is not connected to a file\r\n? WRITE(UNIT=3,...\r\n");
  EXPECT_EQ(out.rfind("? ", 0), 0u);
}

TEST_F(Files, ConsoleUnitsShareTheHooks) {
  console_.set_input("first\nsecond\n");
  Text<6> a, b;
  read(5, Format("(A)"), {a});
  read(star, Format("(A)"), {b});
  EXPECT_EQ(a.view(), "first ");
  EXPECT_EQ(b.view(), "second");
  write(6, Format("(A)"), {"six"});
  write(star, Format("(A)"), {"star"});
  write(9, Format("(A)"), {"nine"});
  write(0, Format("(A)"), {""});
  EXPECT_EQ(console_.output(), "six\r\nstar\r\nnine\r\n\r\n");
  // Every statement pumps the window messages first.
  EXPECT_EQ(console_.pump_calls(), 6);
}

TEST_F(Files, TerminalReadKeepsTheLastLineAndRefusesOverlongOnes) {
  put(path("stdin.txt"), "b\r\nlast\n" + std::string(300, 'a') + "\n");
  const int saved = dup(0);
  FILE* f = std::fopen(path("stdin.txt").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  dup2(fileno(f), 0);
  std::fclose(f);
  const auto terminal_read = default_console_hooks().console_read;
  char buffer[256];
  std::vector<std::string> got;
  for (int i = 0; i < 3; ++i) {
    const int32_t n = terminal_read(buffer, sizeof buffer, stdin_id);
    got.push_back(n < 0 ? "too long" : std::string(buffer, static_cast<std::size_t>(n)));
  }
  clearerr(stdin);
  dup2(saved, 0);
  ::close(saved);
  const std::vector<std::string> expected = {"b\r\r\n", "last\r\n", "too long"};
  EXPECT_EQ(got, expected);
}

// The windowed program's Exit command stops the run from inside a console read.
int32_t read_that_stops(char*, int32_t, int32_t) {
  stop(0);
}

TEST_F(Files, StopFromInsideAConsoleReadUnwinds) {
  ConsoleHooks hooks = console_hooks();
  hooks.console_read = read_that_stops;
  install_console_hooks(hooks);
  ASSERT_EQ(open(8, path("r.txt"), "unknown"), 0);
  int32_t value = 0;
  try {
    const Format i3("(I3)");
    Reader r(5, i3);
    r >> value;
    FAIL() << "the read came back";
  } catch (const StopRun& s) {
    EXPECT_EQ(s.exit_code, 0);
  }
  EXPECT_FALSE(is_connected(8));
  EXPECT_EQ(console_.end_calls(), 1);
}

struct WindowLog {
  std::string opened, written, closed;
};
WindowLog window_log;

int32_t open_window(int32_t unit, std::string_view title, std::string_view access) {
  window_log.opened += std::to_string(unit) + ":" + std::string(title) + ":" + std::string(access);
  return 0;
}
int32_t write_window(const char* bytes, int32_t count, int32_t handle, int32_t unit) {
  window_log.written += std::to_string(handle) + "," + std::to_string(unit) + ":" +
                        std::string(bytes, static_cast<std::size_t>(count));
  return count;
}
int32_t close_window(int32_t unit) {
  window_log.closed += std::to_string(unit);
  return 0;
}

TEST(WindowAccess, RecognisedByItsFirstSixCharactersInAnyCase) {
  for (const char* access : {"WINDOW", "WINDOW,600,300", "window", "Windows"}) {
    EXPECT_TRUE(is_window_access(access)) << access;
  }
  for (const char* access : {"WINDO", "SEQUENTIAL", "", " WINDOW"}) {
    EXPECT_FALSE(is_window_access(access)) << access;
  }
}

TEST_F(Files, WindowUnitsGoThroughTheHooks) {
  // The terminal refuses window units.
  EXPECT_NE(open(20, "Plot", "unknown", "WINDOW,600,300"), 0);
  EXPECT_FALSE(is_connected(20));

  window_log = {};
  ConsoleHooks hooks = console_hooks();
  hooks.open_unit_window = open_window;
  hooks.console_write = write_window;
  hooks.close_unit_window = close_window;
  install_console_hooks(hooks);
  ASSERT_EQ(open(20, " Plot ", "unknown", "WINDOW,600,300"), 0);
  EXPECT_EQ(window_log.opened, "20:Plot:WINDOW,600,300");
  write(20, Format("(A)"), {"in window"});
  write(6, Format("(A)"), {"console"});
  EXPECT_EQ(window_log.written, "-1,20:in window\r\n-11,-3:console\r\n");
  close(20);
  EXPECT_EQ(window_log.closed, "20");
  EXPECT_FALSE(is_connected(20));
}

}  // namespace
}  // namespace recfmt
