// SPDX-License-Identifier: GPL-3.0-or-later
// The New run dialog's answers as the console receives them, and where relative names
// are taken: the parameter file's folder, whatever folder the program started in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "desktop/run_request.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;

TEST(RunRequest, TypedNamesAreShortInsideTheWorkingFolder) {
  struct Case {
    const char* name;
    const char* typed;
  };
  const Case cases[] = {
      {"/site/a/params.txt", "params.txt"},
      {"/site/a/sub/data.txt", "sub/data.txt"},
      {"/site/a/../a/data.txt", "data.txt"},
      {"/site/b/data.txt", "/site/b/data.txt"},    // outside: absolute
      {"/site/ab/data.txt", "/site/ab/data.txt"},  // a folder whose name only begins alike
      {"/other/data.txt", "/other/data.txt"},
      {"report.txt", "report.txt"},  // relative: already taken in the folder
      {"../b/report.txt", "../b/report.txt"},
  };
  for (const Case& c : cases) EXPECT_EQ(desktop::typed_name(c.name, "/site/a"), c.typed) << c.name;
}

TEST(RunRequest, RelativeNamesAreTakenInTheParameterFilesFolder) {
  desktop::RunRequest r;
  r.parameter_file = "sites/one/params.txt";
  r.data_file = "data.txt";
  r.report_file = "/elsewhere/report.txt";
  const std::string folder = desktop::working_folder(r, "/home/geo");
  EXPECT_EQ(folder, "/home/geo/sites/one");
  EXPECT_EQ(desktop::resolved_name(r.data_file, folder), "/home/geo/sites/one/data.txt");
  EXPECT_EQ(desktop::resolved_name(r.report_file, folder), "/elsewhere/report.txt");
  // The Return after the banner, then the three names in the dialogue's order.
  EXPECT_EQ(desktop::console_answers(r, "/home/geo"),
            std::vector<std::string>({"", "params.txt", "data.txt", "/elsewhere/report.txt"}));
  r.parameter_file = "/abs/params.txt";
  EXPECT_EQ(desktop::working_folder(r, "/home/geo"), "/abs");
}

TEST(RunRequest, ProblemsAreFoundBeforeTheRunStarts) {
  const test_support::ScratchDir scratch("gemino-run-");
  const fs::path dir = scratch.path();
  fs::create_directories(dir / "site");
  std::ofstream(dir / "site" / "params.txt") << "x\n";
  std::ofstream(dir / "site" / "data.txt") << "x\n";
  const std::string base = dir.string();
  auto problem = [&](const char* p, const char* d, const char* o) {
    desktop::RunRequest r;
    r.parameter_file = p;
    r.data_file = d;
    r.report_file = o;
    return desktop::request_problem(r, base);
  };
  EXPECT_EQ(problem("site/params.txt", "data.txt", "report.txt"), "");
  EXPECT_EQ(problem("", "data.txt", "report.txt"), "Choose a parameter file.");
  EXPECT_EQ(problem("site/params.txt", "", "report.txt"), "Choose a data file.");
  EXPECT_EQ(problem("site/params.txt", "data.txt", ""), "Name the report file.");
  // The data file is looked for beside the parameter file, not in the starting folder.
  std::ofstream(dir / "data2.txt") << "x\n";
  EXPECT_NE(problem("site/params.txt", "data2.txt", "report.txt").find("data file"),
            std::string::npos);
  EXPECT_NE(problem("site/missing.txt", "data.txt", "report.txt").find("parameter file"),
            std::string::npos);
  EXPECT_NE(problem("site/params.txt", "data.txt", "./data.txt").find("replace an input"),
            std::string::npos);
  EXPECT_NE(problem("site/params.txt", "data.txt", "params.txt").find("replace an input"),
            std::string::npos);
  EXPECT_NE(problem("site", "data.txt", "report.txt").find("parameter file"), std::string::npos);
}

TEST(RunRequest, TheFirstConsoleKeepsItsTitle) {
  EXPECT_EQ(desktop::console_title(1), "Input/Output");
  EXPECT_EQ(desktop::console_title(2), "Run 2 \u2014 Input/Output");
  EXPECT_EQ(desktop::console_title(12), "Run 12 \u2014 Input/Output");
}

}  // namespace
