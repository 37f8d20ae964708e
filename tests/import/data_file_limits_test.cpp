// SPDX-License-Identifier: GPL-3.0-or-later
// The layout of grains in the data file: its limits kept for every table, checked on the
// written records by the reader's own numbering rule; and the rounding to whole degrees.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "import/convert.h"

namespace {

using data_import::convert_text;
using data_import::Options;

// A plane table of `grains` grains numbered from `first`, each with a vertical c-axis and
// `planes` of its three e-planes; with `blocks` > 0 a block column, the grains dealt
// evenly over that many blocks, numbered 1.. in each.
std::string plane_table(int32_t grains, int32_t planes, int32_t first = 1, int32_t blocks = 0) {
  std::string csv = "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned";
  csv += blocks > 0 ? ",block\n" : "\n";
  const int32_t per_block = blocks > 0 ? (grains + blocks - 1) / blocks : grains;
  for (int32_t g = 0; g < grains; ++g) {
    for (int32_t k = 0; k < planes; ++k) {
      const int32_t id = blocks > 0 ? g % per_block + 1 : first + g;
      csv += std::to_string(id) + ",0,90," + std::to_string(120 * k) + ",64," +
             std::to_string((g + k) % 2);
      csv += blocks > 0 ? "," + std::to_string(g / per_block + 1) + "\n" : "\n";
    }
  }
  return csv;
}

// What the reader makes of a data file's text: its blocks, and the data number of every
// plane (grain number + 100 per block before, + 300 per plane of the same grain before).
struct ReadBack {
  int32_t blocks = 0;
  std::vector<int32_t> grain_numbers;
  std::vector<int32_t> data_numbers;
};

ReadBack read_back(const std::string& text) {
  ReadBack r;
  std::istringstream lines(text);
  std::string line;
  bool header = true;
  int32_t previous = 0, repeat = 0;
  while (std::getline(lines, line)) {
    if (header) {
      EXPECT_EQ(line, "0       0    0    0");
      ++r.blocks;
      header = false;
      previous = 0;
      continue;
    }
    line.resize(30, ' ');
    const int32_t direction = std::stoi(line.substr(0, 5));
    if (direction > 360) {
      header = true;
      if (direction > 401) break;
      continue;
    }
    const int32_t grain = std::stoi(line.substr(20, 5));
    if (line[29] == ' ') {
      r.grain_numbers.push_back(grain);
      continue;
    }
    const int32_t n = grain + 100 * (r.blocks - 1);
    repeat = n == previous ? repeat + 1 : 0;
    previous = n;
    r.data_numbers.push_back(n + 300 * repeat);
  }
  EXPECT_FALSE(std::getline(lines, line)) << "records after the end of the data";
  return r;
}

struct Case {
  const char* name;
  std::string csv;
  bool split;
  const char* error;                  // a part of the message, or nullptr when converted
  std::vector<int32_t> blocks;        // per file
  std::vector<int32_t> first_grains;  // the first grain number of each file
  bool renumbered;
};

TEST(DataFileLimits, TablesAreLaidOutWithinTheLimits) {
  const Case cases[] = {
      {"99 grains keep their numbers", plane_table(99, 3), false, nullptr, {1}, {1}, false},
      {"numbers from 2 kept", plane_table(98, 3, 2), false, nullptr, {1}, {2}, false},
      {"100 grains are renumbered", plane_table(100, 3), false, nullptr, {2}, {1}, true},
      {"a number above 99 renumbers", plane_table(2, 3, 99), false, nullptr, {1}, {1}, true},
      {"500 planes in one file",
       plane_table(166, 3) + "200,0,90,0,64,1\n1000,0,90,0,64,1\n",
       false,
       nullptr,
       {2},
       {1},
       true},
      {"501 planes",
       plane_table(167, 3),
       false,
       "holds 501 planes: a data file holds at most 500",
       {},
       {},
       false},
      {"501 planes split", plane_table(167, 3), true, nullptr, {1, 1}, {1, 1}, true},
      {"297 grains of one plane", plane_table(297, 1), false, nullptr, {3}, {1}, true},
      {"298 grains of one plane",
       plane_table(298, 1),
       false,
       "more than three blocks",
       {},
       {},
       false},
      {"298 grains split", plane_table(298, 1), true, nullptr, {3, 1}, {1, 1}, true},
      {"three blocks of 99", plane_table(297, 1, 1, 3), false, nullptr, {3}, {1}, false},
      {"four blocks",
       plane_table(4, 1, 1, 4),
       false,
       "block 4: a data file holds at most three",
       {},
       {},
       false},
      {"four blocks split", plane_table(4, 1, 1, 4), true, nullptr, {3, 1}, {1, 1}, true},
  };
  for (const Case& c : cases) {
    Options options;
    options.split = c.split;
    const data_import::Outcome o = convert_text(c.csv, "in.csv", "out.txt", options);
    if (c.error != nullptr) {
      EXPECT_FALSE(o.ok()) << c.name;
      EXPECT_NE(o.error.find(c.error), std::string::npos) << c.name << ": " << o.error;
      if (c.split) continue;
      EXPECT_NE(o.error.find("--split"), std::string::npos) << c.name << ": " << o.error;
      continue;
    }
    ASSERT_TRUE(o.ok()) << c.name << ": " << o.error;
    const data_import::LegacyFiles& data = o.conversion->data;
    ASSERT_EQ(data.texts.size(), c.blocks.size()) << c.name;
    EXPECT_EQ(data.renumbered, c.renumbered) << c.name;
    int32_t planes = 0;
    std::size_t grains = 0;
    for (std::size_t f = 0; f < data.texts.size(); ++f) {
      const ReadBack r = read_back(data.texts[f]);
      EXPECT_EQ(r.blocks, c.blocks[f]) << c.name << " file " << f;
      ASSERT_FALSE(r.grain_numbers.empty()) << c.name;
      EXPECT_EQ(r.grain_numbers.front(), c.first_grains[f]) << c.name << " file " << f;
      for (int32_t g : r.grain_numbers) {
        EXPECT_TRUE(g >= 1 && g <= 99) << c.name << ": grain " << g;
      }
      EXPECT_LE(r.data_numbers.size(), 500u) << c.name;
      std::set<int32_t> distinct(r.data_numbers.begin(), r.data_numbers.end());
      EXPECT_EQ(distinct.size(), r.data_numbers.size()) << c.name << ": a data number twice";
      EXPECT_LT(*distinct.rbegin(), 1000) << c.name;
      planes += static_cast<int32_t>(r.data_numbers.size());
      grains += r.grain_numbers.size();
    }
    EXPECT_EQ(planes, data.plane_count) << c.name;
    EXPECT_EQ(grains, data.placements.size()) << c.name;
  }
}

TEST(DataFileLimits, AMissingBlockIsWrittenEmptySoThatNumbersStay) {
  const std::string csv =
      "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned,block\n"
      "5,0,90,0,64,1,3\n5,0,90,120,64,0,3\n7,0,90,0,64,0,1\n";
  const data_import::Outcome o = convert_text(csv, "in.csv", "out.txt", {});
  ASSERT_TRUE(o.ok()) << o.error;
  const ReadBack r = read_back(o.conversion->data.texts[0]);
  EXPECT_EQ(r.blocks, 3);
  EXPECT_EQ(r.data_numbers, (std::vector<int32_t>{7, 205, 505}));
  EXPECT_FALSE(o.conversion->data.renumbered);
}

TEST(DataFileLimits, RecordsInTheirColumns) {
  // The c-axis by the trend and plunge of its lower end; each pole by its upper end, the
  // angle counted from east towards north (270 - trend) and its rise.
  const std::string csv =
      "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned\n"
      "12,268,37,28,29,0\n12,268,37,251,15,T\n3,10,5,30,60,yes\n";
  const data_import::Outcome o = convert_text(csv, "in.csv", "out.txt", {});
  ASSERT_TRUE(o.ok()) << o.error;
  EXPECT_EQ(o.conversion->data.texts[0],
            "0       0    0    0\n"
            "  268   37         0   12\n"
            "  242   29         0   12    N\n"
            "   19   15         0   12    T\n"
            "   10    5         0    3\n"
            "  240   60         0    3    T\n"
            "  999\n");
}

TEST(DataFileLimits, TheRoundingIsReported) {
  struct Rounding {
    const char* row;
    double c_axis, pole;
  };
  // Whole degrees are kept (the reader's own value of pi moves them by 2e-4 degrees at most);
  // a plunge a quarter or half a degree off moves the line by as much.
  const Rounding cases[] = {
      {"1,268,37,28,29,1\n", 0.0, 0.0},
      {"1,268,37.25,28,29,1\n", 0.25, 0.0},
      {"1,268,37,28,29.5,1\n", 0.0, 0.5},
      {"1,268,37,28,29.5,1\n2,10,10.4,100,10,0\n", 0.4, 0.5},
  };
  for (const Rounding& c : cases) {
    const data_import::Outcome o =
        convert_text(std::string("grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned\n") + c.row,
                     "in.csv", "out.txt", {});
    ASSERT_TRUE(o.ok()) << o.error;
    EXPECT_NEAR(o.conversion->data.c_axis_change, c.c_axis, 1e-3) << c.row;
    EXPECT_NEAR(o.conversion->data.pole_change, c.pole, 1e-3) << c.row;
    // The glide turns with the pole and the c-axis it is made of; it stays put only when
    // they do.
    if (c.c_axis == 0.0 && c.pole == 0.0) {
      EXPECT_LT(o.conversion->data.glide_change, 1e-3) << c.row;
    } else {
      EXPECT_GT(o.conversion->data.glide_change, 0.1) << c.row;
    }
  }
}

}  // namespace
