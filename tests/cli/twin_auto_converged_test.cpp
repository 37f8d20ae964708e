// SPDX-License-Identifier: GPL-3.0-or-later
// --twin-percent auto with --search converged: the scan made once the data are read
// chooses the share, and the report is the converged run at that share, as a parameter
// file asking that share directly gives it.
#include <gtest/gtest.h>

#include <cmath>
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

// The unit vector of a trend and plunge in degrees.
void unit_of(const nlohmann::json& line, double (&v)[3]) {
  const double d = std::acos(-1.0) / 180.0;
  const double trend = line["trend"].get<double>() * d;
  const double plunge = line["plunge"].get<double>() * d;
  v[0] = std::cos(plunge) * std::cos(trend);
  v[1] = std::cos(plunge) * std::sin(trend);
  v[2] = std::sin(plunge);
}

double axis_angle(const nlohmann::json& a, const nlohmann::json& b) {
  double u[3];
  double v[3];
  unit_of(a, u);
  unit_of(b, v);
  const double c = std::fabs(u[0] * v[0] + u[1] * v[1] + u[2] * v[2]);
  return std::acos(std::fmin(1.0, c)) * 180.0 / std::acos(-1.0);
}

TEST(TwinPercentAutoConverged, TheReportIsTheConvergedRunOfAFileAskingTheShare) {
  Site automatic(80);
  ASSERT_EQ(automatic.run("--twin-percent auto --search converged --json r.json --jobs 2"), 0);
  Site asked(100);
  ASSERT_EQ(asked.run("--search converged --json r.json --jobs 2"), 0);
  const std::string report = automatic.report();
  EXPECT_EQ(report, asked.report());
  // Both lines that give the share say the one counted: the echo of the run parameters
  // and the twins counted after the data (54 twinned planes, all counted).
  EXPECT_NE(report.find("    1 200 100  10 900 0\r\n"), std::string::npos);
  EXPECT_NE(report.find("  POURCENTAGE   54\r\n"), std::string::npos);
  EXPECT_EQ(report.find("  80  10 900"), std::string::npos);

  const nlohmann::json j = automatic.json();
  const nlohmann::json& a = j["twin_percent_auto"];
  EXPECT_EQ(a["twin_percent"], 100);
  EXPECT_EQ(a["suggested"], true);
  EXPECT_EQ(a["report_twin_percent"], 100);
  EXPECT_EQ(a["file_twin_percent"], 80);
  EXPECT_EQ(j["parameters"]["twin_percent"], 100);
  EXPECT_EQ(j["scan"]["run_twin_percent"], 100);
  EXPECT_EQ(j["result"], asked.json()["result"]);
  // The tensor at the share is the report's own.
  EXPECT_EQ(a["tensor"]["sigma1"]["trend"], j["result"]["sigma1"]["trend"]);
  EXPECT_EQ(a["tensor"]["sigma1"]["plunge"], j["result"]["sigma1"]["plunge"]);
  EXPECT_EQ(a["tensor"]["threshold"], j["result"]["threshold"]);
  // The scan's angles are measured from the run's tensor (the report's).
  for (const nlohmann::json& row : j["scan"]["rows"]) {
    if (!row["inverted"].get<bool>()) continue;
    EXPECT_NEAR(row["sigma1_to_run_deg"].get<double>(),
                axis_angle(row["sigma1"], j["result"]["sigma1"]), 0.01)
        << row["twin_percent"];
  }
}

TEST(TwinPercentAutoConverged, TheScanBeforeTheSearchIsTheScanAfterAClassicRun) {
  Site before(80);
  ASSERT_EQ(before.run("--twin-percent auto --search converged --json r.json --jobs 2"), 0);
  Site after(80);
  ASSERT_EQ(after.run("--twin-percent auto --json r.json --jobs 2"), 0);
  const nlohmann::json b = before.json()["scan"];
  const nlohmann::json c = after.json()["scan"];
  EXPECT_EQ(b["suggested"], c["suggested"]);
  ASSERT_EQ(b["rows"].size(), c["rows"].size());
  for (std::size_t i = 0; i < b["rows"].size(); ++i) {
    EXPECT_EQ(b["rows"][i]["objective"], c["rows"][i]["objective"]) << i;
    EXPECT_EQ(b["rows"][i]["sigma1"], c["rows"][i]["sigma1"]) << i;
    EXPECT_EQ(b["rows"][i]["untwinned_above_threshold"], c["rows"][i]["untwinned_above_threshold"])
        << i;
  }
  // Without --search converged the report stays the parameter file's run at 80 %.
  EXPECT_EQ(after.json()["twin_percent_auto"]["report_twin_percent"], 80);
  EXPECT_EQ(after.json()["twin_percent_auto"]["file_twin_percent"], 80);
  EXPECT_NE(after.report().find("    1 200  80  10 900 0\r\n"), std::string::npos);
}

}  // namespace
