// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal program's command line, run as a separate process: help, version, usage
// errors, a run answered by file names, the JSON and CSV of a run, and batches.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/batch.h"
#include "cli/term_run.h"
#include "gemino/io_files.h"
#include "recfmt/edit_output.h"

namespace {

namespace fs = std::filesystem;
using gemino_test::ScratchDir;
using gemino_test::slurp;

using cli_test::Outcome;
using cli_test::term;

using cli_test::copy_example;

// The console without the lines that carry the time and the machine.
std::string masked(const std::string& console) {
  std::istringstream in(console);
  std::string out;
  for (std::string line; std::getline(in, line);) {
    if (line.find("Running on:") == std::string::npos &&
        line.find("On system:") == std::string::npos) {
      out += line + "\n";
    }
  }
  return out;
}

std::string fixed(float v, int w, int d) {
  std::string out;
  recfmt::edit_fixed(out, v, w, d);
  return out;
}

TEST(CommandLine, HelpVersionAndUsageErrors) {
  ScratchDir dir;
  const Outcome help = term(dir, "--help");
  EXPECT_EQ(help.exit_code, 0);
  for (const char* option : {"--json", "--csv", "--crss", "--batch", "--jobs", "--summary"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  const Outcome version = term(dir, "--version");
  EXPECT_EQ(version.exit_code, 0);
  // The name and version stay alone on the first line, for scripts that read it; the
  // licence follows.
  EXPECT_EQ(version.out.substr(0, version.out.find('\n') + 1), "gemino-term 1.2\n");
  EXPECT_NE(version.out.find("\nCopyright (C) "), std::string::npos) << version.out;
  EXPECT_NE(version.out.find("GPL-3.0-or-later"), std::string::npos) << version.out;

  for (const char* wrong : {"--no-such-option", "one two", "--crss 0 a b c", "--summary s.csv",
                            "--batch site --json r.json", "a b c --batch site"}) {
    const Outcome bad = term(dir, wrong);
    EXPECT_EQ(bad.exit_code, 64) << wrong;
    EXPECT_EQ(std::count(bad.err.begin(), bad.err.end(), '\n'), 1) << wrong << ": " << bad.err;
    EXPECT_TRUE(bad.out.empty()) << wrong;
  }
}

TEST(CommandLine, FileNamesAnswerTheDialogueAndTheJsonMatchesTheReport) {
  ScratchDir dir;
  copy_example(dir.file("piped"));
  copy_example(dir.file("named"));
  const Outcome piped = term(dir, "", "\npiped/params.txt\npiped/data.txt\npiped/report.txt\n");
  const Outcome named = term(dir,
                             "named/params.txt named/data.txt named/report.txt --json r.json "
                             "--csv r.csv --crss 20");
  ASSERT_EQ(piped.exit_code, 0);
  ASSERT_EQ(named.exit_code, 0);
  // The names differ by their folder only: the console is the piped one with those names.
  std::string expected = masked(piped.out);
  for (std::size_t at; (at = expected.find("piped/")) != std::string::npos;) {
    expected.replace(at, 6, "named/");
  }
  EXPECT_EQ(masked(named.out), expected);
  EXPECT_EQ(slurp(dir.file("named/report.txt")), slurp(dir.file("piped/report.txt")));

  const nlohmann::json j = nlohmann::json::parse(slurp(dir.file("r.json")));
  EXPECT_EQ(j["schema_version"], 1);
  EXPECT_EQ(j["program"]["version"], "1.2");
  const gemino_test::Lines report = gemino_test::read_records(dir.file("named/report.txt"));
  // The last tensor block and the threshold line, as the report prints them.
  std::vector<std::string> sigma;
  std::string seuil;
  for (const std::string& line : report) {
    if (line.find("SIGMA ") != std::string::npos) sigma.push_back(line);
    if (line.find("SEUIL=") != std::string::npos) seuil = line;
  }
  ASSERT_EQ(sigma.size(), 6u);
  const nlohmann::json& result = j["result"];
  for (int k = 0; k < 3; ++k) {
    const nlohmann::json& axis = result["sigma" + std::to_string(k + 1)];
    EXPECT_EQ(sigma[3 + k].substr(41, 5), fixed(axis["trend"].get<float>(), 5, 0));
    EXPECT_EQ(sigma[3 + k].substr(59, 5), fixed(axis["plunge"].get<float>(), 5, 0));
  }
  EXPECT_EQ(seuil.substr(27), fixed(result["threshold"].get<float>(), 8, 4));
  const nlohmann::json& stress = j["stress"];
  EXPECT_EQ(stress["crss_mpa"], 20.0);
  EXPECT_NEAR(stress["differential_mpa"].get<double>() * result["threshold"].get<float>(), 20.0,
              1e-9);
  EXPECT_EQ(j["planes"].size(), 180u);
  for (const char* key :
       {"number", "grain", "block", "twinned", "pole", "glide", "tau", "rank", "class"}) {
    EXPECT_TRUE(j["planes"][0].contains(key)) << key;
  }
  // One CSV row per plane under a header row.
  const std::string csv = slurp(dir.file("r.csv"));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 181);
}

TEST(CommandLine, FailedRunLeavesNoResultFiles) {
  ScratchDir dir;
  gemino_test::write_lines(dir.file("params.txt"), {"TOO SHORT"});
  gemino_test::write_lines(dir.file("data.txt"), {});
  // Outputs of an earlier run: they must not pass for this run's.
  gemino_test::write_lines(
      dir.file("r.json"), {"{", "  \"schema_version\": 1,", "  \"from\": \"an earlier run\"", "}"});
  gemino_test::write_lines(dir.file("r.csv"), {"number,grain,block,twinned,pole_trend"});
  const Outcome failed = term(dir, "params.txt data.txt report.txt --json r.json --csv r.csv");
  EXPECT_EQ(failed.exit_code, 2);
  EXPECT_FALSE(fs::exists(dir.file("r.json")));
  EXPECT_FALSE(fs::exists(dir.file("r.csv")));
}

TEST(CommandLine, AnOutputNamedLikeAFileOfTheRunIsNeitherWrittenNorRemoved) {
  ScratchDir dir;
  copy_example(dir.file("site"));
  const std::string params = slurp(dir.file("site/params.txt"));
  EXPECT_EQ(term(dir, "site/params.txt site/data.txt r.txt --json site/./params.txt").exit_code,
            64);
  EXPECT_EQ(slurp(dir.file("site/params.txt")), params);
  // Named in the dialogue: the run goes on, its report stays, the JSON is not written.
  const Outcome typed =
      term(dir, "--json report.json", "\nsite/params.txt\nsite/data.txt\nreport.json\n");
  EXPECT_EQ(typed.exit_code, 73);
  EXPECT_NE(slurp(dir.file("report.json")).find("SEUIL="), std::string::npos);
}

TEST(CommandLine, BatchSummaryInSiteOrderForAnyJobs) {
  ScratchDir dir;
  copy_example(dir.file("north"));
  copy_example(dir.file("south"));
  fs::create_directories(dir.file("empty"));  // no params.txt: not run, the others go on
  const std::string sites = "--batch north empty south";
  const Outcome one = term(dir, sites + " --jobs 1 --summary one.csv");
  const Outcome two = term(dir, sites + " --jobs 2 --summary two.csv");
  EXPECT_EQ(one.exit_code, 1);
  EXPECT_EQ(two.exit_code, 1);
  EXPECT_TRUE(one.err.empty()) << one.err;  // no progress line when stderr is not a terminal
  const std::string summary = slurp(dir.file("one.csv"));
  EXPECT_EQ(summary, slurp(dir.file("two.csv")));

  std::istringstream rows(summary);
  std::string header, north, empty, south;
  std::getline(rows, header);
  std::getline(rows, north);
  std::getline(rows, empty);
  std::getline(rows, south);
  EXPECT_EQ(header + "\n", cli::summary_header());
  EXPECT_EQ(north.rfind("north,0,180,54,126,", 0), 0u) << north;
  // New columns come last, so that scripts reading the earlier ones by place keep working.
  EXPECT_EQ(header.substr(header.rfind(',') + 1), "shmax_horizontal_azimuth");
  EXPECT_EQ(north.substr(north.rfind(',') + 1, 5), "39.20") << north;
  EXPECT_EQ(empty.rfind("empty,66,,", 0), 0u) << empty;
  EXPECT_EQ(south.substr(5), north.substr(5));
  for (const char* file : {"report.txt", "result.json", "console.txt"}) {
    EXPECT_TRUE(fs::exists(dir.file(std::string("north/") + file))) << file;
  }
  EXPECT_EQ(slurp(dir.file("north/report.txt")), slurp(dir.file("south/report.txt")));
}

}  // namespace
