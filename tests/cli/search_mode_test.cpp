// SPDX-License-Identifier: GPL-3.0-or-later
// --search classic|converged: which search the report gives. A classic run is the plain
// one; a converged run's report is, below its echo of the parameter file, the report of
// the restart that found the converged answer.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/term_run.h"
#include "gemino/io_files.h"

namespace {

namespace fs = std::filesystem;
using cli_test::term;
using gemino_test::ScratchDir;
using gemino_test::slurp;

// The bundled data with a short search at 80 % of twins (its classic search stops short
// of the best), the run parameters being `run_line`.
void site(const ScratchDir& dir, const std::string& params, const std::string& run_line) {
  gemino_test::write_lines(dir.file(params),
                           {"SHORT SEARCH", "", "", "", "", "", "", "", "", "", run_line, "0 0"});
  if (!fs::exists(dir.file("data.txt"))) {
    fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  }
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The console without its clock line, which tells when the run started.
std::string timeless(const std::string& console) {
  std::string out;
  for (const std::string& line : lines_of(console)) {
    if (line.find("Running on:") == std::string::npos) out += line + "\n";
  }
  return out;
}

TEST(SearchOption, AcceptsItsTwoModesAndRefusesEveryOtherValue) {
  ScratchDir dir;
  site(dir, "params.txt", "1 2 80 11 12 1 0");
  const struct {
    const char* args;
    int exit_code;
  } table[] = {
      {"--search classic", 0},       {"--search converged", 0}, {"--search=converged", 0},
      {"--search Converged", 64},    {"--search conv", 64},     {"--search ''", 64},
      {"--search 'converged '", 64}, {"--search", 64},          {"--search classic --search x", 64},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.args);
    const cli_test::Outcome run =
        term(dir, std::string("params.txt data.txt report.txt ") + row.args);
    EXPECT_EQ(run.exit_code, row.exit_code);
    if (row.exit_code == 64) {
      EXPECT_NE(run.err.find("--search"), std::string::npos) << run.err;
      EXPECT_EQ(run.out, "");  // refused before any run
    }
  }
}

TEST(SearchOption, ClassicIsThePlainRun) {
  ScratchDir dir;
  site(dir, "params.txt", "1 2 80 11 12 1 0");
  const cli_test::Outcome plain = term(dir, "params.txt data.txt plain.txt");
  const cli_test::Outcome classic = term(dir, "params.txt data.txt classic.txt --search classic");
  ASSERT_EQ(plain.exit_code, 0);
  ASSERT_EQ(classic.exit_code, 0);
  EXPECT_EQ(slurp(dir.file("plain.txt")), slurp(dir.file("classic.txt")));
  std::string plain_console = timeless(plain.out);
  const std::string name = "plain.txt  ";
  plain_console.replace(plain_console.find(name), name.size(), "classic.txt");
  EXPECT_EQ(plain_console, timeless(classic.out));
  EXPECT_EQ(classic.err, "");
}

TEST(SearchOption, ConvergedReportIsTheReportOfTheAnswersSearch) {
  ScratchDir dir;
  site(dir, "params.txt", "1 2 80 11 12 1 0");
  const cli_test::Outcome classic =
      term(dir, "params.txt data.txt classic.txt --json classic.json");
  const cli_test::Outcome converged =
      term(dir, "params.txt data.txt converged.txt --search converged --json converged.json");
  ASSERT_EQ(classic.exit_code, 0);
  ASSERT_EQ(converged.exit_code, 0);
  const nlohmann::json c = nlohmann::json::parse(slurp(dir.file("classic.json")));
  const nlohmann::json j = nlohmann::json::parse(slurp(dir.file("converged.json")));
  EXPECT_EQ(c["search"]["mode"], "classic");
  EXPECT_EQ(j["search"]["mode"], "converged");
  ASSERT_FALSE(c["search"]["report_is_best"].get<bool>());
  // The converged run reports the tensor the classic run was told it missed, and says
  // nothing on the standard error.
  EXPECT_TRUE(j["search"]["report_is_best"].get<bool>());
  EXPECT_EQ(j["result"]["objective_reported_units"],
            c["search"]["best"]["objective_reported_units"]);
  EXPECT_EQ(j["result"]["params"], c["search"]["best"]["params"]);
  EXPECT_EQ(converged.err, "");
  // The parameters block stays the file's.
  EXPECT_EQ(j["parameters"], c["parameters"]);

  // The answer's own search (start mode 1, the answer's seed) run plainly writes the same
  // report but for the echo of its parameter line.
  const int seed = j["search"]["report_seed"].get<int>();
  site(dir, "answer.txt", "1 2 80 " + std::to_string(seed) + " 12 1 0");
  ASSERT_EQ(term(dir, "answer.txt data.txt answer-report.txt").exit_code, 0);
  const std::vector<std::string> got = lines_of(slurp(dir.file("converged.txt")));
  const std::vector<std::string> answer = lines_of(slurp(dir.file("answer-report.txt")));
  const std::vector<std::string> file = lines_of(slurp(dir.file("classic.txt")));
  ASSERT_EQ(got.size(), answer.size());
  ASSERT_GT(got.size(), 11u);
  for (std::size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(i + 1);
    EXPECT_EQ(got[i], i == 10 ? file[i] : answer[i]);
  }
  EXPECT_NE(slurp(dir.file("converged.txt")), slurp(dir.file("classic.txt")));

  // Without outputs beside it the report is the same.
  ASSERT_EQ(term(dir, "params.txt data.txt alone.txt --search converged").exit_code, 0);
  EXPECT_EQ(slurp(dir.file("alone.txt")), slurp(dir.file("converged.txt")));
}

TEST(SearchOption, ConvergedKeepsTheFilesSearchWhenItIsTheBest) {
  // The bundled example's own search reaches the best objective: the converged report is
  // the classic one, the file's seed its seed.
  ScratchDir dir;
  fs::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  ASSERT_EQ(term(dir, "params.txt data.txt classic.txt").exit_code, 0);
  ASSERT_EQ(
      term(dir, "params.txt data.txt converged.txt --search converged --json r.json").exit_code, 0);
  EXPECT_EQ(slurp(dir.file("classic.txt")), slurp(dir.file("converged.txt")));
  const nlohmann::json j = nlohmann::json::parse(slurp(dir.file("r.json")));
  EXPECT_EQ(j["search"]["report_seed"], 10);
}

TEST(SearchOption, ConfidenceSummaryGivesTheIndistinctSet) {
  ScratchDir dir;
  fs::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  const cli_test::Outcome run =
      term(dir, "params.txt data.txt report.txt --bootstrap 10 --confidence-summary --json r.json");
  ASSERT_EQ(run.exit_code, 0);
  const std::string::size_type at = run.out.find("Tensors the data cannot tell apart");
  ASSERT_NE(at, std::string::npos) << run.out;
  // The count agrees with the JSON's set.
  const nlohmann::json j = nlohmann::json::parse(slurp(dir.file("r.json")));
  const std::string count =
      "of the best): " + std::to_string(j["search"]["indistinct"]["tensors"].get<int>()) + "\n";
  EXPECT_NE(run.out.find(count, at), std::string::npos) << run.out.substr(at);
  EXPECT_NE(run.out.find("what the data allow", at), std::string::npos);
}

TEST(SearchOption, BatchSitesTakeTheMode) {
  ScratchDir dir;
  fs::create_directories(dir.file("site"));
  site(dir, "site/params.txt", "1 2 80 11 12 1 0");
  fs::copy_file(dir.file("data.txt"), dir.file("site/data.txt"));
  const cli_test::Outcome run = term(dir, "--batch site --search converged --jobs 1");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const nlohmann::json j = nlohmann::json::parse(slurp(dir.file("site/result.json")));
  EXPECT_EQ(j["search"]["mode"], "converged");
  EXPECT_TRUE(j["search"]["report_is_best"].get<bool>());
}

}  // namespace
