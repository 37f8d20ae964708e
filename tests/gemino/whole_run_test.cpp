// SPDX-License-Identifier: GPL-3.0-or-later
// Whole runs of the terminal program: the bundled example against its checked report,
// the recovery of a known tensor, and the run's answers to unusual parameter files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>

#include "gemino/io_files.h"
#include "gemino/start_points.h"

namespace {

using gemino_test::block_header;
using gemino_test::data_record;
using gemino_test::Lines;
using gemino_test::slurp;
using gemino_test::two_grains;

// One run of the terminal program in a scratch folder holding params.txt and data.txt.
struct ReportedRun {
  int exit_code = -1;
  Lines report;
  std::string console;
};

ReportedRun run_term(const gemino_test::ScratchDir& dir) {
  gemino_test::write_lines(dir.file("answers.txt"), {"", "params.txt", "data.txt", "report.txt"});
  const gemino_test::TermRun run = gemino_test::run_term_in(dir);
  return {run.exit_code, gemino_test::records_of(run.report), run.console};
}

// The run on copies of a parameter and a data file, in `dir`.
ReportedRun run_term_on_files(const gemino_test::ScratchDir& dir, const char* params,
                              const char* data) {
  std::filesystem::copy_file(params, dir.file("params.txt"));
  std::filesystem::copy_file(data, dir.file("data.txt"));
  return run_term(dir);
}

ReportedRun run_term(const Lines& params, const Lines& data) {
  gemino_test::ScratchDir dir;
  gemino_test::write_lines(dir.file("params.txt"), params);
  gemino_test::write_lines(dir.file("data.txt"), data);
  return run_term(dir);
}

Lines with_title(const Lines& rest) {
  Lines params = {"TEST RUN", "2", "3", "4", "5", "6", "7", "8", "9", "10"};
  params.insert(params.end(), rest.begin(), rest.end());
  return params;
}

// The lines "SIGMA j DIRECTION d PENDAGE p" of the last tensor block of a report.
struct Axis {
  float direction = 0.0f;
  float plunge = 0.0f;
};
bool last_axes(const Lines& report, Axis (&axes)[3]) {
  int found = 0;
  for (auto it = report.rbegin(); it != report.rend() && found < 3; ++it) {
    const std::size_t at = it->find("SIGMA ");
    if (at == std::string::npos || it->find("DIRECTION") == std::string::npos) continue;
    const int j = (*it)[at + 6] - '1';
    if (j < 0 || j > 2) return false;
    axes[j].direction = std::stof(it->substr(41, 5));
    axes[j].plunge = std::stof(it->substr(59, 5));
    ++found;
  }
  return found == 3;
}

// Angle in degrees between two axes (lines, so without their sense).
double axis_angle(double d1, double p1, double d2, double p2) {
  const double r = 3.14159265358979 / 180.0;
  const double a[3] = {std::cos(p1 * r) * std::sin(d1 * r), std::cos(p1 * r) * std::cos(d1 * r),
                       -std::sin(p1 * r)};
  const double b[3] = {std::cos(p2 * r) * std::sin(d2 * r), std::cos(p2 * r) * std::cos(d2 * r),
                       -std::sin(p2 * r)};
  const double c = std::fabs(a[0] * b[0] + a[1] * b[1] + a[2] * b[2]);
  return std::acos(c > 1.0 ? 1.0 : c) / r;
}

TEST(WholeRun, BundledExampleGivesItsCheckedReport) {
  gemino_test::ScratchDir dir;
  const ReportedRun run =
      run_term_on_files(dir, GEMINO_EXAMPLES "/params.txt", GEMINO_EXAMPLES "/data.txt");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_EQ(slurp(dir.file("report.txt")), slurp(GEMINO_TEST_DATA "/example-report.txt"));
}

TEST(WholeRun, NoiseFreeDataGiveBackTheirTensor) {
  // 450 planes made from sigma 1 200/45, sigma 3 078.1/27.8 (perpendicular), R = 0.6.
  gemino_test::ScratchDir dir;
  const ReportedRun run = run_term_on_files(dir, GEMINO_TEST_DATA "/recovery-params.txt",
                                            GEMINO_TEST_DATA "/recovery-data.txt");
  ASSERT_EQ(run.exit_code, 0);
  Axis axes[3];
  ASSERT_TRUE(last_axes(run.report, axes));
  EXPECT_LT(axis_angle(axes[0].direction, axes[0].plunge, 200.0, 45.0), 4.0);
  EXPECT_LT(axis_angle(axes[2].direction, axes[2].plunge, 78.1, 27.8), 4.0);
}

TEST(WholeRun, NoCandidateGoesOnFromTheZeroTensor) {
  const ReportedRun run = run_term(with_title({"1 0 50 5 20 1 1", "0 0"}), two_grains());
  ASSERT_EQ(run.exit_code, 0);
  // The first tensor block: the zero tensor, nothing kept, nothing ranked.
  const std::string indent(19, ' ');
  Lines first_block;
  std::size_t at = 0;
  while (at < run.report.size() && run.report[at].find("SIGMA 1") == std::string::npos) ++at;
  ASSERT_LT(at + 12, run.report.size());
  EXPECT_EQ(run.report[at], indent + "SIGMA 1   DIRECTION     90.   PENDAGE      0." +
                                std::string(16, ' ') + "0.000");
  EXPECT_EQ(run.report[at + 6], indent + "VALEUR DE LA FONCTION  1000000.00  RAPPORT R  0.000" +
                                    std::string(10, ' ') + "0.000");
  EXPECT_EQ(run.report[at + 9], "");
  EXPECT_EQ(
      run.report[at + 13],
      " call optimisation with f1 =   0.000000  x =   0.000000  0.000000  0.000000  0.000000");
}

TEST(WholeRun, LaterCandidateOfEqualValueIsKept) {
  // Only twinned planes: every candidate scores 0, so the last of three is kept.
  Lines data = two_grains();
  for (std::string& line : data) {
    if (line.size() == 30 && line[29] == 'N') line[29] = 'X';
  }
  const ReportedRun run = run_term(with_title({"1 3 50 12345 5 1 0", "0 0"}), data);
  ASSERT_EQ(run.exit_code, 0);
  int32_t seed = 12345;
  float gamma = 0.0f, beta = 0.0f, alpha = 0.0f, r = 0.0f;
  for (int trial = 0; trial < 3; ++trial) {
    gemino::random_scaled(seed, gamma, 3.141593f);
    gemino::random_scaled(seed, beta, 3.141593f);
    gemino::random_scaled(seed, alpha, 3.141593f);
    gemino::random_scaled(seed, r, 1.0f);
  }
  std::size_t at = 0;
  while (at < run.report.size() && run.report[at].find("SIGMA 1") == std::string::npos) ++at;
  ASSERT_LT(at + 6, run.report.size());
  EXPECT_NEAR(std::stof(run.report[at].substr(79)), -gamma, 6e-4f);
  EXPECT_NEAR(std::stof(run.report[at + 2].substr(79)), -beta, 6e-4f);
  EXPECT_NEAR(std::stof(run.report[at + 4].substr(79)), -alpha, 6e-4f);
  EXPECT_NEAR(std::stof(run.report[at + 6].substr(79)), r, 6e-4f);
}

TEST(WholeRun, InputTheRowsCannotHoldEndsWithExitCodeOne) {
  Lines data = two_grains();
  std::swap(data[1], data[2]);  // a twin plane before any c-axis
  const ReportedRun run = run_term(with_title({"1 3 50 5 20 0 0", "0 0"}), data);
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.console.find("TWIN PLANE BEFORE ANY C-AXIS"), std::string::npos);
  const ReportedRun too_long = run_term(with_title({"1 3 50 5 20 0 0", "2 501"}), two_grains());
  EXPECT_EQ(too_long.exit_code, 1);
  EXPECT_NE(too_long.console.find("MORE THAN 500 DATA NUMBERS"), std::string::npos);
}

TEST(WholeRun, UnusualParametersNeverBreakTheRun) {
  struct Case {
    const char* what;
    Lines params;
  };
  const Case cases[] = {
      {"start mode 0", {"0 2 50 5 20 0 0", "0 0", "10 20 200 30 0.5", "10 20 200 30 0.5"}},
      {"start mode 99", {"99 2 50 5 20 0 1", "0 0", "10 20 200 30 0.5", "0 0 0 0 0.1"}},
      {"start mode 6", {"6 2 50 5 20 0 0", "0 0", "0 0 0 0 0.25"}},
      {"no search steps", {"1 2 50 5 0 0 0", "0 0"}},
      {"negative search steps", {"1 2 50 5 -7 0 0", "0 0"}},
      {"huge R", {"5 2 50 5 20 0 0", "0 0", "10 20 200 30 1e30"}},
      {"negative R", {"5 2 50 5 20 0 0", "0 0", "10 20 200 30 -1e30"}},
      {"wild directions", {"4 2 50 5 20 0 0", "0 0", "-100000 -5000 99999 400 0.5"}},
      {"vertical sigma 3", {"4 2 50 5 20 0 0", "0 0", "30 0 0 90 0.5"}},
      {"no twinned plane needed", {"1 2 0 5 20 0 0", "0 0"}},
      {"huge percentage", {"1 2 2000000000 5 20 0 0", "0 0"}},
      {"negative percentage", {"1 2 -300 5 20 0 0", "0 0"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ReportedRun run = run_term(with_title(c.params), two_grains());
    EXPECT_EQ(run.exit_code, 0);
    ASSERT_FALSE(run.report.empty());
    EXPECT_NE(run.report.back().find('.'), std::string::npos);  // the last chart row
    EXPECT_EQ(run.report.back().size(), 116u);
  }
}

// (Data that leaves no plane at all ends the run: see the data safety table.)
TEST(WholeRun, UnusualDataNeverBreakTheRun) {
  struct Case {
    const char* what;
    Lines data;
  };
  const Case cases[] = {
      {"untwinned planes only",
       {block_header(0, 0, 0, 0), data_record(268, 37, ' ', 0, 1, ' '),
        data_record(332, 29, ' ', 0, 1, 'N'), data_record(999, 0, ' ', 0, 0, ' ')}},
      {"plane along the c-axis",
       {block_header(1, 999, -999, 45), data_record(0, 90, ' ', 0, 1, ' '),
        data_record(0, 90, ' ', 0, 1, 'X'), data_record(-99, -9, 'D', -99, -99, 'N'),
        data_record(999, 0, ' ', 0, 0, ' ')}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ReportedRun run = run_term(with_title({"1 2 50 5 20 0 0", "0 0"}), c.data);
    EXPECT_EQ(run.exit_code, 0);
    ASSERT_FALSE(run.report.empty());
    EXPECT_EQ(run.report.back().size(), 116u);
  }
}

}  // namespace
