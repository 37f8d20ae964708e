// SPDX-License-Identifier: GPL-3.0-or-later
// The threshold line and the two character charts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "gemino/charts.h"
#include "gemino/state.h"
#include "report_capture.h"

namespace gemino {
namespace {

constexpr float h = 0.70710678f;

// Plane kinds by where they fall at the centre of the first chart (normal stress 0.5,
// shear about 0) with a threshold of 0.0005: untwinned, twinned above the threshold,
// twinned at or below it.
enum Kind { untwinned, above, below };

class ChartsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reset_state(s);
    s.threshold = 0.0005f;
    ASSERT_TRUE(files.open_report());
  }
  // A plane with pole (h, 0, h) and a glide tipped by t out of the second axis: for
  // zero angles and R = 0.5 its shear is 0.5 sin t and its normal stress 0.5.
  void add(Kind kind) {
    const float t = kind == above ? 0.002f : 0.0f;
    const int32_t i = s.data_count++;
    const float st = std::sin(t), ct = std::cos(t);
    const float pole[3] = {h, 0.0f, h};
    const float glide[3] = {-h * st, ct, h * st};
    for (int k = 0; k < 3; ++k) {
      s.pole[i][k] = pole[k];
      s.glide[i][k] = glide[k];
    }
    s.twin_flag[i] = kind == untwinned ? -1 : 1;
  }
  std::vector<std::string> plot() {
    float x[4] = {0.0f, 0.0f, 0.0f, 0.5f};
    stress_plots(s, x);
    return files.report_lines();
  }
  State s;
  testing::ReportCapture files;
};

TEST_F(ChartsTest, CellSymbolTellsWhichKindsShareIt) {
  struct Case {
    std::vector<Kind> planes;
    char symbol;
  };
  const Case cases[] = {
      {{untwinned}, '*'},
      {{untwinned, untwinned}, '*'},
      {{below}, '1'},
      {{above, above}, '2'},
      {{untwinned, below}, '3'},
      {{untwinned, below, untwinned}, '3'},
      {{untwinned, above}, '4'},
      {{above, untwinned}, '4'},
      {{below, above}, '5'},
      {{untwinned, above, below}, '6'},
      {{below, above, untwinned}, '6'},
      {{above, untwinned, below, untwinned}, '6'},
  };
  for (const auto& c : cases) {
    reset_state(s);
    s.threshold = 0.0005f;
    ASSERT_TRUE(files.open_report());
    for (Kind k : c.planes) add(k);
    const auto lines = plot();
    ASSERT_EQ(lines.size(), 123u);
    // Chart row 31, column 49: the centre, record column 4 + 49.
    std::string centre(97, ' ');
    centre[0] = centre[96] = '.';
    centre[48] = c.symbol;
    EXPECT_EQ(lines[31], "    " + centre) << c.symbol;
  }
}

TEST_F(ChartsTest, ThresholdLineAndEllipse) {
  add(untwinned);
  const auto lines = plot();
  ASSERT_EQ(lines.size(), 123u);
  EXPECT_EQ(lines[0], "                   SEUIL=    0.0005");
  // Top row: outside the ellipse but for the top of it in column 49.
  EXPECT_EQ(lines[1], "1?  " + std::string(48, '.') + " " + std::string(48, '.'));
  // Second row: inside for |49 - column| up to 12.
  EXPECT_EQ(lines[2], "    " + std::string(36, '.') + std::string(25, ' ') + std::string(36, '.'));
  // The bottom row mirrors the top one.
  EXPECT_EQ(lines[61], "    " + lines[1].substr(4));
}

TEST_F(ChartsTest, CumulativePercentages) {
  add(untwinned);
  add(below);
  const auto lines = plot();
  ASSERT_EQ(lines.size(), 123u);
  // Above the planes both classes are at 0 percent: "2" in column 1.
  const std::string blank_cells(110, ' ');
  EXPECT_EQ(lines[62], "1   .2" + blank_cells);
  EXPECT_EQ(lines[63], "    .2" + blank_cells);
  // Row 31 holds both planes: 100 percent each, on the dotted zero line.
  std::string zero_line(111, ' ');
  for (int j = 1; j <= 111; ++j) {
    if (j % 5 != 0) zero_line[j - 1] = '.';
  }
  zero_line[100] = '2';
  EXPECT_EQ(lines[92], "    ." + zero_line);
  EXPECT_EQ(lines[122], "    ." + std::string(100, ' ') + "2" + std::string(10, ' '));
}

TEST_F(ChartsTest, AClassWithoutPlanesStaysAtZero) {
  add(untwinned);
  add(untwinned);
  const auto lines = plot();
  ASSERT_EQ(lines.size(), 123u);
  EXPECT_EQ(lines[63], "    .2" + std::string(110, ' '));
  // Last row: untwinned at 100 percent ("*"), twinned still 0 ("1").
  EXPECT_EQ(lines[122], "    .1" + std::string(99, ' ') + "*" + std::string(10, ' '));
}

TEST_F(ChartsTest, PlanesOffTheChartAreHeldAtItsEdges) {
  // A stress ratio far out of range, with planes that are not unit vectors: every plane
  // is clamped into the 61 x 97 cells and counted.
  for (int i = 0; i < 6; ++i) {
    add(i % 2 == 0 ? untwinned : above);
    s.pole[i][1] = 3.0f * static_cast<float>(i);
  }
  float x[4] = {0.2f, 0.4f, 0.6f, 1e30f};
  stress_plots(s, x);
  const auto lines = files.report_lines();
  ASSERT_EQ(lines.size(), 123u);
  for (int i = 1; i <= 61; ++i) EXPECT_EQ(lines[i].size(), 101u) << i;
  for (int i = 62; i <= 122; ++i) EXPECT_EQ(lines[i].size(), 116u) << i;
  EXPECT_NE(lines[122].find('2'), std::string::npos);
}

}  // namespace
}  // namespace gemino
