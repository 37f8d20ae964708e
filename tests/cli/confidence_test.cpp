// SPDX-License-Identifier: GPL-3.0-or-later
// The confidence options of the command line: the bootstrap and scan blocks of the JSON,
// the CSV of the resampled axes, the console summaries only when asked, the same blocks
// for any number of jobs, and the report unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/term_run.h"
#include "gemino/io_files.h"

namespace {

using gemino_test::ScratchDir;
using gemino_test::slurp;

using Site = cli_test::ExampleSite;

TEST(ConfidenceOptions, BlocksCsvAndSummaryWithTheReportUnchanged) {
  Site quiet;
  ASSERT_EQ(quiet.run("--bootstrap 16 --jobs 1 --json r.json"), 0);
  EXPECT_EQ(slurp(quiet.dir.file("stdout.txt")).find("Bootstrap"), std::string::npos);
  EXPECT_EQ(slurp(quiet.dir.file("report.txt")), slurp(GEMINO_TEST_DATA "/example-report.txt"));

  Site told;
  ASSERT_EQ(told.run("--bootstrap 16 --jobs 2 --json r.json --bootstrap-csv b.csv "
                     "--scan-twin-percent 90:100:10 --confidence-summary"),
            0);
  const std::string console = slurp(told.dir.file("stdout.txt"));
  EXPECT_NE(console.find("95% cones"), std::string::npos);
  EXPECT_NE(console.find("Twins counted"), std::string::npos);
  const nlohmann::json b = told.json()["bootstrap"];
  EXPECT_EQ(b["B"], 16);
  // The full-data tensor fits every row of the example: without any one grain it still fits
  // the others as well as any tensor can, so no grain is influential.
  EXPECT_EQ(b["left_out"], 60);
  EXPECT_TRUE(b["influence"].empty());
  EXPECT_NE(console.find("Grains left out: 60, 0 influential"), std::string::npos);
  EXPECT_GT(b["sigma1"]["cone95_deg"].get<double>(), 0.0);
  EXPECT_LE(b["R_interval"][0].get<double>(), b["R_interval"][1].get<double>());
  // The same resamples whatever the number of jobs.
  EXPECT_EQ(b, quiet.json()["bootstrap"]);
  const nlohmann::json scan = told.json()["scan"];
  ASSERT_EQ(scan["rows"].size(), 2u);
  // The run's own share: the converged search scores no worse than the report's tensor.
  EXPECT_LE(scan["rows"][1]["objective_reported_units"].get<double>(),
            told.json()["result"]["objective_reported_units"].get<double>());
  EXPECT_LT(scan["rows"][1]["sigma1_to_run_deg"].get<double>(), 5.0);
  const std::string csv = slurp(told.dir.file("b.csv"));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 17);  // a header and 16 resamples
}

TEST(ConfidenceOptions, CrssRangeNeedsTheBootstrapAndIsRecorded) {
  Site alone;
  EXPECT_EQ(alone.run("--crss-range 6:14"), 64);
  EXPECT_NE(slurp(alone.dir.file("stderr.txt")).find("--crss-range needs --bootstrap"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(alone.dir.file("report.txt")));
  for (const char* bad : {"0:14", "14:6", "6"}) {
    EXPECT_EQ(alone.run(std::string("--bootstrap 4 --crss-range ") + bad), 64) << bad;
  }

  Site drawn;
  ASSERT_EQ(drawn.run("--bootstrap 8 --jobs 2 --crss-range 6:14 --json r.json "
                      "--confidence-summary"),
            0);
  const nlohmann::json b = drawn.json()["bootstrap"];
  EXPECT_EQ(b["crss_range_mpa"], nlohmann::json::array({6.0, 14.0}));
  EXPECT_NE(slurp(drawn.dir.file("stdout.txt")).find("(CRSS drawn from 6 to 14 MPa)"),
            std::string::npos);
  EXPECT_EQ(slurp(drawn.dir.file("report.txt")), slurp(GEMINO_TEST_DATA "/example-report.txt"));

  Site fixed;
  ASSERT_EQ(fixed.run("--bootstrap 8 --jobs 1 --json r.json"), 0);
  EXPECT_TRUE(fixed.json()["bootstrap"]["crss_range_mpa"].is_null());
}

}  // namespace
