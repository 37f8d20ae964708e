// SPDX-License-Identifier: GPL-3.0-or-later
// The figures of the command line: each file in its format after a sound run, none after
// a failed one, mistakes caught as usage errors, and the stereonet of every batch site.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "gemino/io_files.h"

namespace {

namespace fs = std::filesystem;
using gemino_test::ScratchDir;
using gemino_test::slurp;

int term(const ScratchDir& dir, const std::string& args) {
  const std::string command = "cd '" + dir.file("") + "' && '" GEMINO_TERM_PATH "' " + args +
                              " < /dev/null > stdout.txt 2> stderr.txt";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void copy_example(const std::string& folder) {
  fs::create_directories(folder);
  fs::copy_file(GEMINO_EXAMPLES "/params.txt", folder + "/params.txt");
  fs::copy_file(GEMINO_EXAMPLES "/data.txt", folder + "/data.txt");
}

uint32_t be32(const std::string& s, std::size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(s[at])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 2])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3]));
}

const std::string figures =
    "--stereonet net.svg --grains grains.PDF --shear-plot shear.png "
    "--cumulative cumulative.svg --dpi 50";

TEST(FigureOptions, EveryFigureInTheFormatOfItsName) {
  ScratchDir dir;
  copy_example(dir.file(""));
  ASSERT_EQ(term(dir, "params.txt data.txt report.txt " + figures), 0)
      << slurp(dir.file("stderr.txt"));
  const std::string net = slurp(dir.file("net.svg"));
  EXPECT_EQ(net.rfind("<?xml", 0), 0u);
  EXPECT_NE(net.find("class=\"sigma1\""), std::string::npos);
  EXPECT_EQ(slurp(dir.file("grains.PDF")).rfind("%PDF-", 0), 0u);
  EXPECT_NE(slurp(dir.file("cumulative.svg")).find("class=\"threshold\""), std::string::npos);
  // 540 x 360 points at 50 pixels per inch.
  const std::string png = slurp(dir.file("shear.png"));
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(be32(png, 16), 375u);
  EXPECT_EQ(be32(png, 20), 250u);

  // The same run writes the same bytes.
  fs::rename(dir.file("grains.PDF"), dir.file("first.pdf"));
  ASSERT_EQ(term(dir, "params.txt data.txt report.txt " + figures), 0);
  EXPECT_EQ(slurp(dir.file("grains.PDF")), slurp(dir.file("first.pdf")));
}

TEST(FigureOptions, MistakesAreUsageErrorsAndAFailedRunWritesNoFigure) {
  ScratchDir dir;
  copy_example(dir.file(""));
  for (const char* wrong : {"--stereonet net.jpg", "--grains noextension", "--dpi 5",
                            "--dpi 100000", "--batch site --stereonet net.svg"}) {
    EXPECT_EQ(term(dir, std::string("params.txt data.txt report.txt ") + wrong), 64) << wrong;
  }
  EXPECT_FALSE(fs::exists(dir.file("report.txt")));

  gemino_test::write_lines(dir.file("bad.txt"), {"TOO SHORT"});
  gemino_test::write_lines(dir.file("net.svg"), {"<svg>from an earlier run</svg>"});
  EXPECT_EQ(term(dir, "bad.txt data.txt report.txt " + figures), 2);
  for (const char* file : {"net.svg", "grains.PDF", "shear.png", "cumulative.svg"}) {
    EXPECT_FALSE(fs::exists(dir.file(file))) << file;
  }
}

TEST(FigureOptions, BatchWritesTheStereonetOfEverySite) {
  ScratchDir dir;
  copy_example(dir.file("north"));
  copy_example(dir.file("south"));
  ASSERT_EQ(term(dir, "--batch north south --jobs 2 --summary summary.csv"), 0);
  const std::string north = slurp(dir.file("north/stereonet.svg"));
  EXPECT_NE(north.find("class=\"primitive\""), std::string::npos);
  EXPECT_EQ(north, slurp(dir.file("south/stereonet.svg")));
}

}  // namespace
