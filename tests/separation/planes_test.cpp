// SPDX-License-Identifier: GPL-3.0-or-later
// The planes as several tensors see them: the candidate set for a further tensor is what a
// parameter file keeping the listed data numbers keeps, and the share-out and the counts
// follow the thresholds exactly, at or above counting as above.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "gemino/example_rows.h"
#include "separation/planes.h"

namespace {

using gemino::PlaneRow;

PlaneRow row(int32_t number, int32_t flag) {
  PlaneRow r{};
  r.data_number = number;
  r.twin_flag = flag;
  return r;
}

gemino::InvertedTensor example_tensor(int32_t twin_percent) {
  gemino::InversionOptions o;
  o.trial_count = 200;
  o.twin_percent = twin_percent;
  o.seed = 10;
  o.iteration_limit = 900;
  return gemino::invert(gemino_test::example_rows(), o).final;
}

// The bundled parameter file with its "no selection" line turned into "keep these numbers".
std::string keeping(const std::vector<int32_t>& numbers) {
  std::ifstream in(GEMINO_EXAMPLES "/params.txt", std::ios::binary);
  std::vector<std::string> lines;
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  std::ostringstream out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i != 11) {
      out << lines[i] << "\n";
      continue;
    }
    out << "2 " << numbers.size() << "\n";
    for (std::size_t k = 0; k < numbers.size(); ++k) {
      char item[8];
      std::snprintf(item, sizeof item, "%3d ", numbers[k]);
      out << item << ((k % 18 == 17 || k + 1 == numbers.size()) ? "\n" : "");
    }
  }
  return out.str();
}

TEST(CandidateSet, IsWhatAParameterFileKeepingTheListedNumbersKeeps) {
  const std::vector<PlaneRow>& rows = gemino_test::example_rows();
  const gemino::InvertedTensor t = example_tensor(70);
  const std::vector<float> tau = separation::shear_values(rows, t);
  const separation::CandidateSet set = separation::candidate_set(rows, tau, t.tensor.threshold);
  ASSERT_GE(set.listed.size(), 8u);
  ASSERT_LT(set.rows.size(), rows.size());

  gemino_test::ScratchDir dir;
  const std::string params = dir.file("keep.txt");
  std::ofstream(params, std::ios::binary) << keeping(set.listed);
  ASSERT_EQ(gemino_test::run_driver_in_process(dir, params, GEMINO_EXAMPLES "/data.txt"), 0);
  const std::vector<PlaneRow> kept = gemino::rows_of(gemino::shared_state());
  ASSERT_EQ(kept.size(), set.rows.size());
  int32_t twinned = 0;
  for (std::size_t i = 0; i < kept.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(kept[i].data_number, set.rows[i].data_number);
    EXPECT_EQ(kept[i].twin_flag, set.rows[i].twin_flag);
    for (int k = 0; k < 3; ++k) {
      EXPECT_EQ(kept[i].pole[k], set.rows[i].pole[k]);
      EXPECT_EQ(kept[i].glide[k], set.rows[i].glide[k]);
    }
    twinned += kept[i].twin_flag > 0 ? 1 : 0;
  }
  EXPECT_EQ(twinned, set.twinned);
}

TEST(ShearValues, PutExactlyTheCountedTwinsAtOrAboveTheThreshold) {
  const std::vector<PlaneRow>& rows = gemino_test::example_rows();
  int32_t twinned_total = 0;
  for (const PlaneRow& r : rows) twinned_total += r.twin_flag > 0 ? 1 : 0;
  for (const int32_t percent : {100, 80, 60}) {
    SCOPED_TRACE(percent);
    const gemino::InvertedTensor t = example_tensor(percent);
    const std::vector<float> tau = separation::shear_values(rows, t);
    int32_t at_or_above = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      at_or_above += rows[i].twin_flag > 0 && tau[i] >= t.tensor.threshold ? 1 : 0;
    }
    EXPECT_EQ(at_or_above, percent * twinned_total / 100);
  }
}

TEST(CandidateSet, ANumberSharedByTwoPlanesKeepsBoth) {
  // Row 2 (number 7) is explained, row 3 (number 7 too) is not: the list names 7 once and
  // keeps both, as the selection does; the untwinned row stays whatever its stress.
  const std::vector<PlaneRow> rows = {row(5, 1), row(7, 1), row(7, 1), row(9, -1), row(11, 1)};
  const std::vector<float> tau = {0.30f, 0.25f, 0.10f, 0.40f, 0.20f};
  const separation::CandidateSet set = separation::candidate_set(rows, tau, 0.20f);
  EXPECT_EQ(set.listed, (std::vector<int32_t>{7}));
  ASSERT_EQ(set.rows.size(), 3u);
  EXPECT_EQ(set.rows[0].data_number, 7);
  EXPECT_EQ(set.rows[1].data_number, 7);
  EXPECT_EQ(set.rows[2].data_number, 9);
  EXPECT_EQ(set.twinned, 2);
}

TEST(CandidateSet, IsInvertedFromEightTwinsAndAFifthOfAll) {
  struct Case {
    int32_t candidates, twinned;
    bool enough;
  };
  const Case cases[] = {{8, 40, true},    {7, 35, false}, {8, 41, false}, {20, 100, true},
                        {19, 100, false}, {8, 8, true},   {0, 0, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(separation::enough_candidates(c.candidates, c.twinned), c.enough)
        << c.candidates << " of " << c.twinned;
  }
}

TEST(ShareOut, GivesEachTwinToTheLargestMarginAndCountsAtTheThresholdAsExplained) {
  const std::vector<PlaneRow> rows = {row(1, 1),  row(2, 1),  row(3, 1),
                                      row(4, -1), row(5, -1), row(6, 1)};
  // Thresholds 0.2 and 0.1.
  const std::vector<std::vector<float>> tau = {{0.20f, 0.25f, 0.05f, 0.19f, 0.20f, 0.15f},
                                               {0.05f, 0.16f, 0.09f, 0.09f, 0.05f, 0.10f}};
  const std::vector<float> th = {0.20f, 0.10f};
  EXPECT_EQ(separation::share_out(rows, tau, th), (std::vector<int32_t>{0, 1, 1, -1, -1, 1}));
  // Unexplained: row 3 (twinned, below both) and row 5 (untwinned, at the first threshold).
  EXPECT_EQ(separation::unexplained_count(rows, tau, th), 2);
  // Tensor 2 alone adds row 6 (at its threshold); row 2 the first explains already.
  EXPECT_EQ(separation::newly_explained(rows, tau, th, 1), 1);
  EXPECT_EQ(separation::newly_explained(rows, tau, th, 0), 2);
  const std::vector<int32_t> owner = separation::share_out(rows, tau, th);
  const std::vector<PlaneRow> second = separation::rows_for(rows, owner, 1);
  ASSERT_EQ(second.size(), 5u);
  EXPECT_EQ(second[0].data_number, 2);
  EXPECT_EQ(second[4].data_number, 6);
}

}  // namespace
