// SPDX-License-Identifier: GPL-3.0-or-later
// --twin-percent auto: the scan suggests the share, the JSON says which share the results
// beyond the report used and why, and the report stays the parameter file's run.
#include <gtest/gtest.h>

#include <string>

#include <nlohmann/json.hpp>

#include "cli/term_run.h"
#include "gemino/io_files.h"

namespace {

using gemino_test::ScratchDir;
using gemino_test::slurp;

// The example fits every twin: whatever share its parameter file counts, the scan suggests
// counting them all.
using Site = cli_test::ExampleSite;

TEST(TwinPercentAuto, JsonSaysTheShareUsedAndTheReportKeepsTheFilesShare) {
  Site plain(80);
  ASSERT_EQ(plain.run(""), 0);
  Site told(80);
  ASSERT_EQ(told.run("--twin-percent auto --json r.json --jobs 2 --confidence-summary"), 0);
  EXPECT_EQ(slurp(told.dir.file("report.txt")), slurp(plain.dir.file("report.txt")));
  const nlohmann::json j = told.json();
  const nlohmann::json& a = j["twin_percent_auto"];
  EXPECT_EQ(j["scan"]["range"], nlohmann::json::array({50, 100, 1}));
  EXPECT_EQ(j["scan"]["suggested"]["twin_percent"], 100);
  EXPECT_EQ(a["twin_percent"], 100);
  EXPECT_EQ(a["suggested"], true);
  EXPECT_EQ(a["report_twin_percent"], 80);
  EXPECT_NE(a["reason"].get<std::string>().find("suggested by the twin-percent scan"),
            std::string::npos);
  // The tensor at the share is the scan's row there, not the report's at 80 %.
  const nlohmann::json& row = j["scan"]["rows"].back();
  EXPECT_EQ(row["twin_percent"], 100);
  EXPECT_EQ(a["tensor"]["sigma1"], row["sigma1"]);
  EXPECT_EQ(a["tensor"]["threshold"], row["threshold"]);
  EXPECT_NE(a["tensor"]["threshold"], j["result"]["threshold"]);
  EXPECT_EQ(a["magnitudes"]["differential_stress_mpa"], row["differential_mpa"]);
  const std::string console = slurp(told.dir.file("stdout.txt"));
  EXPECT_NE(console.find("Twins counted beyond the report: 100 % (suggested by the scan); the "
                         "report counts 80 %"),
            std::string::npos);
  EXPECT_NE(console.find("100 %     "), std::string::npos);
  EXPECT_NE(console.find("<- suggested"), std::string::npos);
}

TEST(TwinPercentAuto, AGivenRangeIsScannedAndOnlyAutoIsAccepted) {
  Site given(80);
  ASSERT_EQ(given.run("--twin-percent auto --scan-twin-percent 90:100:5 --scan-figure s.svg "
                      "--json r.json"),
            0);
  const nlohmann::json j = given.json();
  EXPECT_EQ(j["scan"]["range"], nlohmann::json::array({90, 100, 5}));
  EXPECT_EQ(j["twin_percent_auto"]["twin_percent"], 100);
  EXPECT_NE(slurp(given.dir.file("s.svg")).find("scan_suggested"), std::string::npos);
  for (const char* bad : {"90", "AUTO", ""}) {
    EXPECT_EQ(given.run(std::string("--twin-percent '") + bad + "'"), 64) << bad;
  }
}

}  // namespace
