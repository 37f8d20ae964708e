// SPDX-License-Identifier: GPL-3.0-or-later
// The tensor block and the ranking as written to the report.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gemino/io_files.h"
#include "gemino/report.h"
#include "gemino/state.h"
#include "recfmt/units.h"

namespace {

using gemino_test::Lines;

using gemino_test::blank;
using gemino_test::stars;
const std::string indent(19, ' ');

class Report : public gemino_test::StateWithFiles {
 protected:
  void SetUp() override {
    StateWithFiles::SetUp();
    open_report();
  }
};

std::string sigma_line(int32_t j, const std::string& direction, const std::string& plunge,
                       const std::string& x) {
  return indent + "SIGMA " + std::to_string(j) + "   DIRECTION   " + direction + "   PENDAGE   " +
         plunge + std::string(15, ' ') + x;
}

TEST_F(Report, IdentityTensorBlock) {
  float x[4] = {0.0f, 0.0f, 0.0f, 0.5f};
  float f = 1.25f;
  int32_t n = 0;
  gemino::report_tensor(*s, x, f, s->threshold_index, n);
  const Lines expected = {
      sigma_line(1, "  90.", "   0.", " 0.000"),
      blank,
      sigma_line(2, "   0.", "   0.", " 0.000"),
      blank,
      sigma_line(3, "   0.", "  90.", " 0.000"),  // a vertical axis has direction 0
      blank,
      indent + "VALEUR DE LA FONCTION        1.25  RAPPORT R  0.500" + std::string(9, ' ') +
          " 0.500",
      blank,
      blank,
      blank,  // nothing ranked above the threshold
      blank,
      stars,
      blank,
  };
  EXPECT_EQ(report(), expected);
}

TEST_F(Report, SignedNumbersFourteenToALine) {
  for (int32_t r = 1; r <= 20; ++r) {
    s->data_number[r - 1] = r;
    s->twin_flag[r - 1] = r % 2 == 1 ? 1 : -1;
    s->best_index_list[r - 1] = r;
  }
  s->data_number[16] = 1017;  // four digits still fit, with a sign they do not
  s->data_number[17] = 1018;
  s->data_count = 20;
  s->threshold_index = 20;
  float x[4] = {0.0f, 0.0f, 0.0f, 1.0f};  // R = 1 stays as it is
  float f = 0.0f;
  gemino::report_tensor(*s, x, f, s->threshold_index, s->data_count);
  const Lines r = report();
  ASSERT_EQ(r.size(), 14u);
  EXPECT_EQ(r[6], indent + "VALEUR DE LA FONCTION        0.00  RAPPORT R  1.000" +
                      std::string(9, ' ') + " 1.000");
  EXPECT_EQ(r[9], "    1   -2    3   -4    5   -6    7   -8    9  -10   11  -12   13  -14");
  EXPECT_EQ(r[10], "   15  -16 1017 ****   19  -20");
  EXPECT_EQ(x[3], 1.0f);
}

TEST_F(Report, RatioAboveOneIsReexpressedAndTheListFollowsTheRefreshedIndex) {
  // No data rows: the evaluation after the re-expression ranks nothing, so the shared
  // threshold_index passed in drops from 5 to 0 and no number is listed.
  for (int32_t i = 0; i < 5; ++i) s->best_index_list[i] = i + 1;
  s->threshold_index = 5;
  float x[4] = {0.0f, 0.0f, 0.0f, 2.0f};
  float f = 3.5f;
  gemino::report_tensor(*s, x, f, s->threshold_index, s->data_count);
  EXPECT_EQ(s->threshold_index, 0);
  EXPECT_EQ(x[3], 0.5f);
  EXPECT_NEAR(x[0], -1.5707964f, 1e-6f);  // gamma turned by a quarter turn
  EXPECT_EQ(x[1], 0.0f);
  EXPECT_EQ(x[2], 0.0f);
  const Lines r = report();
  ASSERT_EQ(r.size(), 13u);
  EXPECT_EQ(r[0].substr(79), "-1.571");
  EXPECT_EQ(r[2].substr(79), " 0.000");
  EXPECT_EQ(r[6], indent + "VALEUR DE LA FONCTION        3.50  RAPPORT R  0.500" +
                      std::string(9, ' ') + " 0.500");
  EXPECT_EQ(r[9], blank);
}

TEST_F(Report, NegativeRatioIsReexpressed) {
  float x[4] = {0.0f, 0.0f, 0.0f, -1.0f};
  float f = 0.0f;
  gemino::report_tensor(*s, x, f, s->threshold_index, s->data_count);
  EXPECT_EQ(x[3], 0.5f);
  // Axes 2 and 3 exchanged: the vertical axis becomes sigma 2, and sigma 1 stays
  // horizontal along the first axis (direction 90, here taken on its other end).
  const Lines r = report();
  ASSERT_GT(r.size(), 4u);
  EXPECT_EQ(r[0].substr(41, 5), " 270.");
  EXPECT_EQ(r[0].substr(59, 5), "   0.");
  EXPECT_EQ(r[2].substr(59, 5), "  90.");
  EXPECT_EQ(r[4].substr(59, 5), "   0.");
}

TEST_F(Report, RankingInBlocksOfFourteen) {
  const float values[15] = {0.5f, 0.45f, 0.4f, 0.35f,  0.3f,  0.25f,  0.2f, 0.15f,
                            0.1f, 0.05f, 0.0f, -0.05f, -0.1f, -0.15f, -0.2f};
  for (int32_t r = 1; r <= 15; ++r) {
    s->data_number[r - 1] = r >= 14 ? 1000 + r : 100 + r;
    s->twin_flag[r - 1] = r % 2 == 1 ? 1 : -1;
  }
  for (int32_t l = 0; l < 15; ++l) {
    s->shear_order[l] = 15 - l;  // last row first
    s->shear_list[l] = values[l];
  }
  s->data_count = 15;
  gemino::report_ranking(*s);
  const Lines expected = {
      blank,
      "   1015     ****      113     -112      111     -110      109     -108      107     -106"
      "      105     -104      103     -102",
      "   0.500    0.450    0.400    0.350    0.300    0.250    0.200    0.150    0.100    0.050"
      "    0.000   -0.050   -0.100   -0.150",
      blank,
      "    101",
      "  -0.200",
  };
  EXPECT_EQ(report(), expected);
}

TEST_F(Report, FourteenRowsMakeOneBlock) {
  for (int32_t l = 0; l < 14; ++l) {
    s->data_number[l] = l + 1;
    s->twin_flag[l] = 1;
    s->shear_order[l] = l + 1;
  }
  s->data_count = 14;
  gemino::report_ranking(*s);
  EXPECT_EQ(report().size(), 3u);
}

}  // namespace
