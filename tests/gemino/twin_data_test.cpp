// SPDX-License-Identifier: GPL-3.0-or-later
// The twin data file read as a whole: listing, block rotation, numbering, selection,
// counts, and the inputs the rows cannot hold.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gemino/io_files.h"
#include "gemino/state.h"
#include "gemino/twin_data.h"
#include "recfmt/units.h"
#include "support/fake_console.h"

namespace {

using gemino_test::block_header;
using gemino_test::data_record;
using gemino_test::Lines;

using gemino_test::blank;
using gemino_test::stars;
const std::string seventeen(17, ' ');

class TwinDataFile : public gemino_test::StateWithFiles {
 protected:
  // Reads `data` as the data file and returns the report it writes.
  Lines run(const Lines& data) {
    read_from(4, "data.txt", data);
    open_report();
    gemino::read_twin_data(*s);
    recfmt::close_all();
    return gemino_test::read_records(dir.file("report.txt"));
  }
};

// Two blocks, the second turned by 90 degrees about the vertical. The c-axis 270/64 is
// (cos 64, 0, sin 64); a horizontal plane (normal 0/90) then makes 26 degrees with it
// and glides along the first axis, a plane of normal 0/60 only 4 degrees.
const Lines two_blocks = {
    block_header(0, 0, 0, 0),
    data_record(270, 64, ' ', 0, 1, ' '),
    data_record(0, 90, ' ', 0, 1, 'X'),
    data_record(0, 90, ' ', 0, 1, 'N'),
    data_record(0, 60, ' ', 0, 1, 'M'),
    data_record(400, 0, ' ', 0, 0, ' '),
    block_header(1, 90, 0, 0),
    data_record(270, 64, ' ', 0, 12, ' '),
    data_record(0, 90, ' ', 0, 12, 'X'),
    data_record(0, 90, ' ', 0, 12, 'X'),
    data_record(270, 64, ' ', 0, 12, ' '),  // a c-axis record does not break the run
    data_record(0, 90, ' ', 0, 12, 'N'),
    data_record(999, 0, ' ', 0, 0, ' '),
};

// The end of the listing of two_blocks before the twin limit: the line of stars, then 4
// twinned and 2 untwinned planes.
const Lines counts_of_two_blocks = {
    blank, stars, blank, blank, " NOMBRE DE MACLES       4.", "  NOMBRE DE NON MACLES       2.",
};

TEST_F(TwinDataFile, ListingOfTwoBlocks) {
  s->twin_percent = 50;
  const Lines report = run(two_blocks);
  const std::string axis1 = "  AXE C  270   64         0    1        0.438   0.000   0.899";
  const std::string axis12 = "  AXE C  270   64         0  112        0.000   0.438   0.899";
  const std::string flat = "   0.000   0.000   1.000      26.0" + seventeen;
  Lines expected = {
      "         LES ROTATIONS SONT DE     0       0       0",
      blank,
      axis1,
      blank,
      "  MACLE    0   90         0    1    X" + flat + "   1.000   0.000   0.000",
      "  MACLE    0   90         0  301    N" + flat + "   1.000   0.000   0.000",
      "  MACLE    0   60         0  601    M   0.500   0.000   0.866       4.0  TROP IMPORTANT "
      "  -0.866   0.000   0.500",
      "         LES ROTATIONS SONT DE    90       0       0",
      blank,
      axis12,
      blank,
      "  MACLE    0   90         0  112    X" + flat + "   0.000   1.000   0.000",
      "  MACLE    0   90         0  412    X" + flat + "   0.000   1.000   0.000",
      blank,
      axis12,
      blank,
      "  MACLE    0   90         0  712    N" + flat + "   0.000   1.000   0.000",
  };
  expected.insert(expected.end(), counts_of_two_blocks.begin(), counts_of_two_blocks.end());
  expected.push_back("  POURCENTAGE    2");
  EXPECT_EQ(report, expected);

  EXPECT_EQ(s->data_count, 6);
  EXPECT_EQ(s->twin_limit, 2);
  const int32_t numbers[] = {1, 301, 601, 112, 412, 712};
  const int32_t flags[] = {1, -1, 1, 1, 1, -1};
  for (int32_t i = 0; i < 6; ++i) {
    EXPECT_EQ(s->data_number[i], numbers[i]) << i;
    EXPECT_EQ(s->twin_flag[i], flags[i]) << i;
  }
  // The rotated block glides along the second axis.
  EXPECT_NEAR(s->glide[3][1], 1.0f, 1e-5f);
}

TEST_F(TwinDataFile, QuietListingKeepsRotationsSeparatorAndCounts) {
  s->quiet_listing = 1;
  s->twin_percent = 100;
  const Lines report = run(two_blocks);
  Lines expected = {
      "         LES ROTATIONS SONT DE     0       0       0",
      "         LES ROTATIONS SONT DE    90       0       0",
  };
  expected.insert(expected.end(), counts_of_two_blocks.begin(), counts_of_two_blocks.end());
  expected.push_back("  POURCENTAGE    4");
  EXPECT_EQ(report, expected);
  EXPECT_EQ(s->data_count, 6);
}

TEST_F(TwinDataFile, RemovedPlanesStillCountForTheNumbering) {
  s->quiet_listing = 1;
  s->selection_mode = 1;
  s->selection_count = 2;
  s->selection_list[0] = 301;
  s->selection_list[1] = 112;
  run(two_blocks);
  ASSERT_EQ(s->data_count, 4);
  const int32_t numbers[] = {1, 601, 412, 712};
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(s->data_number[i], numbers[i]) << i;
}

TEST_F(TwinDataFile, KeepingListedDataKeepsEveryUntwinnedPlane) {
  s->quiet_listing = 1;
  s->selection_mode = 2;
  s->selection_count = 1;
  s->selection_list[0] = 412;
  run(two_blocks);
  ASSERT_EQ(s->data_count, 3);
  const int32_t numbers[] = {301, 412, 712};
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(s->data_number[i], numbers[i]) << i;
}

TEST_F(TwinDataFile, BlockEndsFrom361To401AndDataEndsFrom402) {
  s->quiet_listing = 1;
  const Lines data = {
      block_header(0, 0, 0, 0),
      data_record(270, 64, ' ', 0, 1, ' '),
      data_record(360, 90, ' ', 0, 1, 'X'),  // an ordinary direction
      data_record(361, 0, ' ', 0, 0, ' '),
      block_header(0, 0, 0, 0),
      data_record(0, 90, ' ', 0, 1, 'X'),
      data_record(401, 0, ' ', 0, 0, ' '),
      block_header(0, 0, 0, 0),
      data_record(0, 90, ' ', 0, 1, 'X'),
      data_record(402, 0, ' ', 0, 0, ' '),
      "this line is never read",
  };
  const Lines report = run(data);
  EXPECT_EQ(s->data_count, 3);
  const int32_t numbers[] = {1, 101, 201};
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(s->data_number[i], numbers[i]) << i;
  EXPECT_EQ(report.size(), 10u);
}

TEST_F(TwinDataFile, FourDigitDataNumbersAreListedAsAsterisks) {
  Lines data;
  for (int32_t b = 0; b < 4; ++b) {
    data.push_back(block_header(0, 0, 0, 0));
    data.push_back(data_record(401, 0, ' ', 0, 0, ' '));
  }
  data.push_back(block_header(0, 0, 0, 0));
  data.push_back(data_record(270, 64, ' ', 0, 2, ' '));
  for (int32_t k = 0; k < 3; ++k) data.push_back(data_record(0, 90, ' ', 0, 2, 'X'));
  data.push_back(data_record(999, 0, ' ', 0, 0, ' '));
  const Lines report = run(data);
  ASSERT_EQ(s->data_count, 3);
  EXPECT_EQ(s->data_number[2], 1002);
  ASSERT_GT(report.size(), 11u);
  EXPECT_EQ(report[6].substr(0, 32), "  AXE C  270   64         0  402");
  EXPECT_EQ(report[8].substr(0, 37), "  MACLE    0   90         0  402    X");
  EXPECT_EQ(report[9].substr(0, 37), "  MACLE    0   90         0  702    X");
  EXPECT_EQ(report[10].substr(0, 37), "  MACLE    0   90         0  ***    X");
}

TEST_F(TwinDataFile, TwinPlaneBeforeAnyCAxisStopsTheRun) {
  test_support::FakeConsole console;
  const Lines data = {
      block_header(0, 0, 0, 0),
      data_record(0, 90, ' ', 0, 1, 'X'),
      data_record(270, 64, ' ', 0, 1, ' '),
      data_record(999, 0, ' ', 0, 0, ' '),
  };
  read_from(4, "data.txt", data);
  open_report();
  EXPECT_EQ(test_support::exit_code_of([&] { gemino::read_twin_data(*s); }), 1);
  const Lines console_lines = console.lines();
  ASSERT_EQ(console_lines.size(), 1u);
  EXPECT_NE(console_lines[0].find("TWIN PLANE BEFORE ANY C-AXIS"), std::string::npos);
  EXPECT_EQ(s->data_count, 0);
}

TEST_F(TwinDataFile, MorePlanesThanRowsStopsTheRunWithoutOverflow) {
  test_support::FakeConsole console;
  s->quiet_listing = 1;
  Lines data = {block_header(0, 0, 0, 0)};
  // 168 grains of three planes: 504 planes for 500 rows.
  for (int32_t g = 0; g < 168; ++g) {
    data.push_back(data_record(270, 64, ' ', 0, g % 99 + 1, ' '));
    for (int32_t k = 0; k < 3; ++k) data.push_back(data_record(0, 90, ' ', 0, g % 99 + 1, 'N'));
  }
  data.push_back(data_record(999, 0, ' ', 0, 0, ' '));
  read_from(4, "data.txt", data);
  open_report();
  EXPECT_EQ(test_support::exit_code_of([&] { gemino::read_twin_data(*s); }), 1);
  EXPECT_EQ(s->data_count, gemino::max_rows);
  const Lines console_lines = console.lines();
  ASSERT_EQ(console_lines.size(), 1u);
  EXPECT_NE(console_lines[0].find("MORE THAN 500 PLANES"), std::string::npos);
}

TEST_F(TwinDataFile, ExactlyFiveHundredPlanesFit) {
  s->quiet_listing = 1;
  Lines data = {block_header(0, 0, 0, 0)};
  for (int32_t g = 0; g < 250; ++g) {
    data.push_back(data_record(270, 64, ' ', 0, g % 99 + 1, ' '));
    data.push_back(data_record(0, 90, ' ', 0, g % 99 + 1, 'X'));
    data.push_back(data_record(0, 90, ' ', 0, g % 99 + 1, 'N'));
  }
  data.push_back(data_record(270, 64, ' ', 0, 1, ' '));  // a c-axis takes no row
  data.push_back(data_record(999, 0, ' ', 0, 0, ' '));
  run(data);
  EXPECT_EQ(s->data_count, 500);
}

}  // namespace
