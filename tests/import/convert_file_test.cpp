// SPDX-License-Identifier: GPL-3.0-or-later
// Converting files: nothing written when anything is wrong, several files only when asked,
// the table never overwritten; and the terminal's "convert" command around it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/term_run.h"
#include "import/convert.h"

namespace {

using data_import::convert_file;
using data_import::Options;

const std::string good =
    "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned\n1,268,37,28,29,1\n1,268,37,251,15,0\n";
const std::string bad = good + "2,268,37,28,95,1\n";

std::vector<std::string> listing(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) {
    names.push_back(e.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ConvertFile, NothingIsWrittenOnAnError) {
  gemino_test::ScratchDir dir;
  test_support::put(dir.file("in.csv"), bad);
  test_support::put(dir.file("out.txt"), "what the user had\n");
  Options options;
  options.split = true;
  options.grain_map = dir.file("map.csv");
  const data_import::Outcome o = convert_file(dir.file("in.csv"), dir.file("out.txt"), options);
  EXPECT_FALSE(o.ok());
  EXPECT_EQ(o.error, dir.file("in.csv") + ":4:13: pole_plunge 95 is out of range (0 to 90)");
  EXPECT_EQ(gemino_test::slurp(dir.file("out.txt")), "what the user had\n");
  EXPECT_EQ(listing(dir.path()), (std::vector<std::string>{"in.csv", "out.txt"}));
}

TEST(ConvertFile, TheTableIsNeverItsOwnOutput) {
  gemino_test::ScratchDir dir;
  test_support::put(dir.file("in.csv"), good);
  const data_import::Outcome o = convert_file(dir.file("in.csv"), dir.file("./in.csv"), {});
  EXPECT_FALSE(o.ok());
  EXPECT_NE(o.error.find("it is the table being converted"), std::string::npos) << o.error;
  EXPECT_EQ(gemino_test::slurp(dir.file("in.csv")), good);
}

TEST(ConvertFile, ARefusedTargetStopsEveryWrite) {
  gemino_test::ScratchDir dir;
  test_support::put(dir.file("in.csv"), good);
  std::filesystem::create_directory(dir.file("map.csv"));
  Options options;
  options.grain_map = dir.file("map.csv");
  const data_import::Outcome o = convert_file(dir.file("in.csv"), dir.file("out.txt"), options);
  EXPECT_FALSE(o.ok());
  EXPECT_NE(o.error.find("is a folder"), std::string::npos) << o.error;
  EXPECT_FALSE(std::filesystem::exists(dir.file("out.txt")));
}

TEST(ConvertFile, SplitFilesAreNumberedBeforeTheExtension) {
  using data_import::split_names;
  EXPECT_EQ(split_names("a/out.txt", 1), (std::vector<std::string>{"a/out.txt"}));
  EXPECT_EQ(split_names("a/out.txt", 2), (std::vector<std::string>{"a/out-1.txt", "a/out-2.txt"}));
  EXPECT_EQ(split_names("a.d/out", 2), (std::vector<std::string>{"a.d/out-1", "a.d/out-2"}));
  EXPECT_EQ(split_names(".data", 2), (std::vector<std::string>{".data-1", ".data-2"}));
}

TEST(ConvertFile, TheGrainMapSaysWhereEachGrainWent) {
  gemino_test::ScratchDir dir;
  std::string csv = "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned\n";
  for (int g = 0; g < 101; ++g) csv += std::to_string(1001 + g) + ",0,90,0,64,1\n";
  test_support::put(dir.file("in.csv"), csv);
  Options options;
  options.grain_map = dir.file("map.csv");
  const data_import::Outcome o = convert_file(dir.file("in.csv"), dir.file("out.txt"), options);
  ASSERT_TRUE(o.ok()) << o.error;
  const std::string map = gemino_test::slurp(dir.file("map.csv"));
  EXPECT_EQ(map.rfind("source_block,source_grain,file,block,grain\n,1001,1,1,1\n,1002,1,1,2\n", 0),
            0u);
  EXPECT_NE(map.find("\n,1099,1,1,99\n,1100,1,2,1\n,1101,1,2,2\n"), std::string::npos);
  EXPECT_NE(
      o.conversion->summary().find("numbered otherwise than in the table (see the grain map)"),
      std::string::npos);
}

TEST(ConvertCommand, ExitCodesAndMessages) {
  gemino_test::ScratchDir dir;
  test_support::put(dir.file("good.csv"), good);
  test_support::put(dir.file("bad.csv"), bad);

  cli_test::Outcome run = cli_test::term(dir, "convert good.csv out.txt");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            "converted a plane table: 1 grains, 2 planes\nwrote out.txt\nlargest change from "
            "rounding to whole degrees: c-axis 0.00, pole 0.00, glide 0.00 degrees\n");
  EXPECT_EQ(gemino_test::slurp(dir.file("out.txt")),
            "0       0    0    0\n  268   37         0    1\n  242   29         0    1    T\n"
            "   19   15         0    1    N\n  999\n");

  run = cli_test::term(dir, "convert bad.csv out2.txt");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err,
            "gemino-term convert: bad.csv:4:13: pole_plunge 95 is out of range (0 to 90)\n");
  EXPECT_FALSE(std::filesystem::exists(dir.file("out2.txt")));

  run = cli_test::term(dir, "convert missing.csv out2.txt");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_NE(run.err.find("cannot read missing.csv"), std::string::npos) << run.err;

  run = cli_test::term(dir, "convert good.csv");
  EXPECT_EQ(run.exit_code, 64);
  EXPECT_NE(run.err.find("output is required"), std::string::npos) << run.err;
  EXPECT_NE(cli_test::term(dir, "--help").out.find("gemino-term convert IN.csv OUT.txt"),
            std::string::npos);
  run = cli_test::term(dir, "convert --help");
  EXPECT_EQ(run.exit_code, 0);
  EXPECT_NE(run.out.find("--specimen-to-geographic"), std::string::npos);
  run = cli_test::term(dir, "convert good.csv out3.txt --specimen-to-geographic 1 2");
  EXPECT_EQ(run.exit_code, 64);
}

TEST(ConvertCommand, TheConventionsMayComeFromTheCommandLine) {
  gemino_test::ScratchDir dir;
  test_support::put(dir.file("g.csv"), "grain,phi1,Phi,phi2,e1,e2,e3\n1,0,0,0,1,0,0\n");
  cli_test::Outcome run = cli_test::term(dir, "convert g.csv out.txt --euler bunge-active");
  EXPECT_EQ(run.exit_code, 1);
  EXPECT_EQ(run.err,
            "gemino-term convert: g.csv: the EBSD grain table must declare its conventions; "
            "missing: crystal_frame (--crystal-frame), specimen_to_geographic "
            "(--specimen-to-geographic)\n");
  run = cli_test::term(dir,
                       "convert g.csv out.txt --euler bunge-active --crystal-frame 'x=a*' "
                       "--specimen-to-geographic 90 0 0");
  EXPECT_EQ(run.exit_code, 0) << run.err;
  // x = a1* points north, so a1 lies at azimuth 30 (60 degrees from east towards north)
  // and the e-plane poles' upper ends at 60 + 210, 60 + 330 and 60 + 90 degrees from east.
  EXPECT_EQ(gemino_test::slurp(dir.file("out.txt")),
            "0       0    0    0\n  180   90         0    1\n  270   64         0    1    T\n"
            "   30   64         0    1    N\n  150   64         0    1    N\n  999\n");
}

}  // namespace
