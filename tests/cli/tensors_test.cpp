// SPDX-License-Identifier: GPL-3.0-or-later
// --tensors: the run's own report and transcript stay as they are, and the separation adds
// its summary, JSON block, CSV column, further reports and stereonets beside them.
#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "cli/batch.h"
#include "cli/tensors.h"
#include "cli/term_run.h"

namespace {

using cli_test::term;

TEST(TensorFiles, AreNamedAfterTheirFile) {
  struct Case {
    const char* path;
    const char* tag;
    const char* named;
  };
  const Case cases[] = {{"report.txt", "t2", "report.t2.txt"},
                        {"out/net.svg", "tensors", "out/net.tensors.svg"},
                        {"report", "t3", "report.t3"},
                        {"a.b/report.out.txt", "t2", "a.b/report.out.t2.txt"}};
  for (const Case& c : cases) {
    EXPECT_EQ(cli::beside(c.path, c.tag).string(), c.named);
  }
}

TEST(TensorFiles, TheCsvGetsALastColumn) {
  EXPECT_EQ(cli::with_tensor_column("number,tau\n5,0.1\n7,0.2\n", {2, 0}),
            "number,tau,tensor\n5,0.1,2\n7,0.2,0\n");
  // A row the separation did not see is given no tensor.
  EXPECT_EQ(cli::with_tensor_column("n\n1\n2\n", {1}), "n,tensor\n1,1\n2,0\n");
}

TEST(TensorsOption, LeavesTheRunsReportAndTranscriptAndAddsItsOutputs) {
  gemino_test::ScratchDir plain;
  cli_test::copy_example(plain.file("site"));
  const cli_test::Outcome a = term(plain, "site/params.txt site/data.txt report.txt");
  ASSERT_EQ(a.exit_code, 0) << a.err;

  gemino_test::ScratchDir dir;
  cli_test::copy_example(dir.file("site"));
  const cli_test::Outcome b =
      term(dir,
           "site/params.txt site/data.txt report.txt --tensors 2 --json r.json --csv p.csv "
           "--stereonet net.svg --jobs 1");
  ASSERT_EQ(b.exit_code, 0) << b.err;
  EXPECT_EQ(gemino_test::slurp(dir.file("report.txt")),
            gemino_test::slurp(plain.file("report.txt")));
  // The transcript first, then the summary.
  ASSERT_EQ(cli_test::timeless(b.out.substr(0, a.out.size())), cli_test::timeless(a.out));
  const std::string summary = b.out.substr(a.out.size());
  EXPECT_EQ(summary.rfind("TENSORS: K = 2", 0), 0u) << summary;
  EXPECT_NE(summary.find("TENSOR 2: SIGMA 1"), std::string::npos);

  const nlohmann::json j = nlohmann::json::parse(gemino_test::slurp(dir.file("r.json")));
  const nlohmann::json& t = j.at("tensors");
  EXPECT_EQ(t.at("K"), 2);
  EXPECT_EQ(t.at("asked"), "2");
  ASSERT_EQ(t.at("tensors").size(), 2u);
  int32_t given = 0;
  for (const auto& tensor : t.at("tensors")) given += tensor.at("twinned_given").get<int32_t>();
  EXPECT_EQ(given, j.at("counts").at("twinned").get<int32_t>());

  const std::string csv = gemino_test::slurp(dir.file("p.csv"));
  EXPECT_NE(csv.find(",tensor\n"), std::string::npos);
  for (const char* name : {"report.t2.txt", "net.t1.svg", "net.t2.svg", "net.tensors.svg"}) {
    EXPECT_TRUE(std::filesystem::exists(dir.file(name))) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(dir.file("report.t3.txt")));
  // The further report is a report: the run's text lines, then a tensor block and a ranking.
  const std::string t2 = gemino_test::slurp(dir.file("report.t2.txt"));
  EXPECT_EQ(t2.rfind(" SYNTHETIC CALCITE TWINS FROM A KNOWN TENSOR", 0), 0u);
  EXPECT_NE(t2.find("VALEUR DE LA FONCTION"), std::string::npos);
  EXPECT_NE(t2.find("SEUIL"), std::string::npos);
}

TEST(TensorsOption, AFurtherReportOfAnEarlierRunIsLeftAndSaidToBe) {
  gemino_test::ScratchDir dir;
  cli_test::copy_example(dir.file("site"));
  std::ofstream(dir.file("report.t2.txt")) << "an earlier run's\n";
  const cli_test::Outcome b =
      term(dir, "site/params.txt site/data.txt report.txt --tensors 1 --jobs 1");
  ASSERT_EQ(b.exit_code, 0) << b.err;
  EXPECT_NE(b.out.find("TENSORS: K = 1"), std::string::npos);
  EXPECT_EQ(gemino_test::slurp(dir.file("report.t2.txt")), "an earlier run's\n");
  EXPECT_NE(b.err.find("report.t2.txt is not of this run"), std::string::npos) << b.err;
}

TEST(TensorsOption, NeverWritesAFurtherReportOverAnInput) {
  gemino_test::ScratchDir dir;
  cli_test::copy_example(dir.file("site"));
  std::filesystem::copy_file(dir.file("site/data.txt"), dir.file("r.t2.txt"));
  const std::string before = gemino_test::slurp(dir.file("r.t2.txt"));
  const cli_test::Outcome b = term(dir, "site/params.txt r.t2.txt r.txt --tensors 2 --jobs 1");
  EXPECT_EQ(b.exit_code, 73) << b.err;
  EXPECT_EQ(gemino_test::slurp(dir.file("r.t2.txt")), before);
}

TEST(TensorsOption, RefusesOtherCounts) {
  gemino_test::ScratchDir dir;
  cli_test::copy_example(dir.file("site"));
  for (const char* value : {"0", "4", "two", ""}) {
    const cli_test::Outcome b = term(
        dir, std::string("site/params.txt site/data.txt report.txt --tensors '") + value + "'");
    EXPECT_EQ(b.exit_code, 64) << value;
  }
}

TEST(TensorsOption, TheBatchSummaryGetsKOnlyWhenAsked) {
  EXPECT_EQ(cli::summary_header(), cli::summary_header({}));
  const cli::SummaryColumns k = {{"tensors", "/tensors/K"}};
  const std::string header = cli::summary_header(k);
  EXPECT_EQ(header.substr(header.rfind(',')), ",tensors\n");
  const std::string row = cli::summary_row("s", 0, R"({"tensors": {"K": 2}})", k);
  EXPECT_EQ(row.substr(row.rfind(',')), ",2\n");
  EXPECT_EQ(cli::summary_row("s", 1, "", k).substr(cli::summary_row("s", 1, "", k).rfind(',')),
            ",\n");
}

TEST(TensorsOption, ABatchGivesEachSiteItsK) {
  gemino_test::ScratchDir dir;
  cli_test::copy_example(dir.file("a"));
  const cli_test::Outcome b = term(dir, "--batch a --jobs 1 --tensors auto");
  ASSERT_EQ(b.exit_code, 0) << b.err;
  const std::string header = b.out.substr(0, b.out.find('\n'));
  EXPECT_EQ(header.substr(header.rfind(',')), ",tensors");
  EXPECT_EQ(b.out.substr(b.out.rfind(',')), ",1\n");
  EXPECT_TRUE(std::filesystem::exists(dir.file("a/stereonet.tensors.svg")));
}

}  // namespace
