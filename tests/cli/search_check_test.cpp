// SPDX-License-Identifier: GPL-3.0-or-later
// The search block of a run that writes more than its report: the converged search on the
// run's own data, and a line on the standard error when the report's tensor is not the best.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/term_run.h"
#include "gemino/io_files.h"

namespace {

namespace fs = std::filesystem;
using cli_test::term;
using gemino_test::ScratchDir;
using gemino_test::slurp;

// The bundled data with a short search at 80 % of twins: the report's tensor stops short
// of what twelve restarts of the same search find.
void short_search_site(const ScratchDir& dir) {
  gemino_test::write_lines(dir.file("params.txt"), {"SHORT SEARCH", "", "", "", "", "", "", "", "",
                                                    "", "1 2 80 11 12 1 0", "0 0"});
  fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
}

int count_lines(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = 0; (at = text.find(what, at)) != std::string::npos; ++at) ++n;
  return n;
}

TEST(SearchBlock, SaysWhenTheReportsTensorIsNotTheBest) {
  ScratchDir dir;
  short_search_site(dir);
  const cli_test::Outcome plain = term(dir, "params.txt data.txt plain.txt");
  const cli_test::Outcome with_json = term(dir, "params.txt data.txt report.txt --json r.json");
  ASSERT_EQ(plain.exit_code, 0);
  ASSERT_EQ(with_json.exit_code, 0);
  // The report does not change; a plain run does no search of its own and says nothing.
  EXPECT_EQ(slurp(dir.file("plain.txt")), slurp(dir.file("report.txt")));
  EXPECT_EQ(count_lines(plain.err, "not the best found"), 0);

  const nlohmann::json j = nlohmann::json::parse(slurp(dir.file("r.json")));
  ASSERT_TRUE(j.contains("search"));
  const nlohmann::json& search = j["search"];
  EXPECT_GE(search["restarts"].get<int>(), 1);
  EXPECT_LE(search["restarts"].get<int>(), 12);
  ASSERT_FALSE(search["report_is_best"].get<bool>());
  EXPECT_EQ(count_lines(with_json.err, "not the best found"), 1);
  const float report = j["result"]["objective_reported_units"].get<float>();
  const float best = search["best"]["objective_reported_units"].get<float>();
  EXPECT_LT(best, report - search["tolerance"].get<float>());
  // Two restarts agree on the best, or the cap was reached.
  EXPECT_TRUE(search["restarts_at_best"].get<int>() >= 2 || search["restarts"].get<int>() == 12);
}

TEST(SearchBlock, TheBootstrapIsCentredOnTheBetterTensor) {
  ScratchDir dir;
  short_search_site(dir);
  const cli_test::Outcome run =
      term(dir,
           "params.txt data.txt report.txt --json r.json --bootstrap 6 --jobs 2 "
           "--confidence-summary");
  ASSERT_EQ(run.exit_code, 0);
  const nlohmann::json j = nlohmann::json::parse(slurp(dir.file("r.json")));
  ASSERT_FALSE(j["search"]["report_is_best"].get<bool>());
  const nlohmann::json& centre = j["bootstrap"]["centre"];
  EXPECT_EQ(centre["source"], "converged search");
  EXPECT_EQ(centre["sigma1"], j["search"]["best"]["sigma1"]);
  EXPECT_EQ(centre["sigma3"], j["search"]["best"]["sigma3"]);
  EXPECT_EQ(centre["R"], j["search"]["best"]["R"]);
  EXPECT_NE(centre["sigma1"]["trend"], j["result"]["sigma1"]["trend"]);
  EXPECT_NE(run.out.find("Centred on the converged search's tensor"), std::string::npos);
}

TEST(SearchBlock, ReportsTensorThatIsTheBestHasNoOther) {
  ScratchDir dir;
  fs::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  const cli_test::Outcome run = term(dir, "params.txt data.txt report.txt --json r.json");
  ASSERT_EQ(run.exit_code, 0);
  const nlohmann::json j = nlohmann::json::parse(slurp(dir.file("r.json")));
  const nlohmann::json& search = j["search"];
  // The bundled example's tensor leaves no untwinned plane above its threshold.
  EXPECT_TRUE(search["report_is_best"].get<bool>());
  EXPECT_FALSE(search.contains("best"));
  EXPECT_GE(search["restarts_at_best"].get<int>(), 2);
  EXPECT_EQ(count_lines(run.err, "not the best found"), 0);
}

}  // namespace
