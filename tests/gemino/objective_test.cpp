// SPDX-License-Identifier: GPL-3.0-or-later
// Ranking of the planes by resolved shear stress, the walk to the threshold, and the
// score of a trial tensor.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "gemino/objective.h"
#include "gemino/state.h"
#include "gemino/tensor.h"

namespace gemino {
namespace {

constexpr float half_root2 = 0.70710678f;

// The ranking done the long way: ten bins by value, an exchange sort in each, the bins
// read back in turn. Each bin has room for every row.
void literal_ranking(const std::vector<float>& v, std::vector<float>& out_value,
                     std::vector<int32_t>& out_row) {
  const int32_t n = static_cast<int32_t>(v.size());
  std::vector<std::vector<float>> bin_value(10);
  std::vector<std::vector<int32_t>> bin_row(10);
  for (int32_t i = 0; i < n; ++i) {
    const int32_t t = static_cast<int32_t>(v[i] / 0.1001f);
    int32_t k = t + 5;
    if (v[i] > 0.0f) k = k + 1;
    int32_t bin = 11 - k;
    bin = std::clamp(bin, 1, 10);
    bin_value[bin - 1].push_back(v[i]);
    bin_row[bin - 1].push_back(i + 1);
  }
  for (int32_t b = 0; b < 10; ++b) {
    auto& bv = bin_value[b];
    auto& br = bin_row[b];
    const size_t m = bv.size();
    for (size_t i = 0; i + 1 < m; ++i) {
      for (size_t j = i + 1; j < m; ++j) {
        if (bv[j] >= bv[i]) {
          std::swap(bv[i], bv[j]);
          std::swap(br[i], br[j]);
        }
      }
    }
    out_value.insert(out_value.end(), bv.begin(), bv.end());
    out_row.insert(out_row.end(), br.begin(), br.end());
  }
}

class RankingTest : public ::testing::Test {
 protected:
  void SetUp() override { reset_state(s); }

  // Loads the values in row order with their twinned flags (+1 / -1).
  void load(const std::vector<float>& values, const std::vector<int32_t>& flags) {
    s.data_count = static_cast<int32_t>(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
      s.shear_list[i] = values[i];
      s.twin_flag[i] = flags.empty() ? -1 : flags[i];
    }
  }
  std::vector<int32_t> order() const {
    return std::vector<int32_t>(s.shear_order, s.shear_order + s.data_count);
  }

  void expect_same_as_literal(const std::vector<float>& values) {
    load(values, {});
    float f;
    rank_planes(s, f);
    std::vector<float> want_value;
    std::vector<int32_t> want_row;
    literal_ranking(values, want_value, want_row);
    ASSERT_EQ(order(), want_row);
    for (size_t l = 0; l < values.size(); ++l) {
      // Bit for bit: a negative zero travels with its row.
      ASSERT_EQ(std::bit_cast<uint32_t>(s.shear_list[l]), std::bit_cast<uint32_t>(want_value[l]))
          << "position " << l + 1;
    }
  }

  State s;
};

TEST_F(RankingTest, FiveRowsWalkToTheSecondTwinnedPlane) {
  load({0.30f, 0.25f, 0.20f, 0.10f, -0.05f}, {1, -1, 1, -1, 1});
  s.twin_limit = 2;
  float f;
  rank_planes(s, f);
  EXPECT_EQ(order(), (std::vector<int32_t>{1, 2, 3, 4, 5}));
  EXPECT_EQ(s.threshold, 0.20f);
  EXPECT_EQ(s.threshold_index, 3);
  EXPECT_EQ(f, 0.25f - 0.20f);
  EXPECT_NEAR(f, 0.05f, 1e-7f);
}

TEST_F(RankingTest, OrderOfEqualAndZeroValues) {
  float f;
  load({0.15f, 0.15f, 0.15f}, {});
  rank_planes(s, f);
  EXPECT_EQ(order(), (std::vector<int32_t>{3, 2, 1}));

  // Zero ranks after every positive value; both zeros are equal, the later row first.
  load({0.0f, -0.05f, 0.05f, -0.0f, 1e-30f}, {});
  rank_planes(s, f);
  EXPECT_EQ(order(), (std::vector<int32_t>{3, 5, 4, 1, 2}));
  EXPECT_TRUE(std::signbit(s.shear_list[2]));  // row 4 keeps its negative zero

  // Beyond +-0.5005 the values share the end bins and are still ordered.
  load({-0.9f, 2.0f, 0.7f, -3.0f, 0.41f}, {});
  rank_planes(s, f);
  EXPECT_EQ(order(), (std::vector<int32_t>{2, 3, 5, 1, 4}));
}

TEST_F(RankingTest, SameOrderAsTheLiteralExchangeSort) {
  std::mt19937 gen(20100621);
  // Many ties: a few dozen distinct values, both zeros, values beyond the end bins.
  std::vector<float> pool;
  for (int k = -14; k <= 14; ++k) pool.push_back(static_cast<float>(k) * 0.05f);
  pool.push_back(-0.0f);
  pool.push_back(0.1001f);
  pool.push_back(-0.1001f);
  pool.push_back(0.4004f);
  for (int round = 0; round < 20; ++round) {
    std::uniform_int_distribution<int> size(1, max_rows);
    std::uniform_int_distribution<size_t> pick(0, pool.size() - 1);
    std::uniform_real_distribution<float> any(-0.6f, 0.6f);
    std::vector<float> values(static_cast<size_t>(size(gen)));
    for (auto& v : values) v = (gen() % 3 == 0) ? any(gen) : pool[pick(gen)];
    expect_same_as_literal(values);
  }
  // Every row in one bin, with ties.
  std::uniform_int_distribution<int> step(0, 40);
  std::vector<float> one_bin(max_rows);
  for (auto& v : one_bin) v = 0.11f + static_cast<float>(step(gen)) * 0.002f;
  expect_same_as_literal(one_bin);
  std::vector<float> all_equal(max_rows, -0.25f);
  expect_same_as_literal(all_equal);
}

TEST_F(RankingTest, WalkWithoutEnoughTwinnedPlanes) {
  // The threshold keeps its previous value; every untwinned value is added.
  load({0.3f, -0.1f, 0.2f}, {-1, -1, 1});
  s.threshold = 0.05f;
  s.twin_limit = 2;
  float f;
  rank_planes(s, f);
  EXPECT_EQ(s.threshold, 0.05f);
  EXPECT_EQ(s.threshold_index, 3);
  EXPECT_EQ(f, (0.3f + -0.1f) - 0.05f * 2.0f);

  // None twinned at all, first evaluation of a run: the threshold is still 0.
  reset_state(s);
  load({-0.2f, 0.1f}, {-1, -1});
  s.twin_limit = 1;
  rank_planes(s, f);
  EXPECT_EQ(f, 0.1f + -0.2f);
  EXPECT_EQ(s.threshold, 0.0f);
  EXPECT_EQ(s.threshold_index, 2);
}

TEST_F(RankingTest, WalkEdgeCases) {
  float f;
  // Only twinned planes score 0.
  load({0.3f, 0.1f, -0.2f}, {1, 1, 1});
  s.twin_limit = 2;
  rank_planes(s, f);
  EXPECT_EQ(f, 0.0f);
  EXPECT_EQ(s.threshold, 0.1f);
  EXPECT_EQ(s.threshold_index, 2);

  // A limit of 0: the first twinned plane fixes the threshold.
  load({0.3f, 0.2f, 0.1f}, {-1, 1, 1});
  s.twin_limit = 0;
  rank_planes(s, f);
  EXPECT_EQ(s.threshold, 0.2f);
  EXPECT_EQ(s.threshold_index, 2);
  EXPECT_EQ(f, 0.3f - 0.2f);

  // An untwinned plane equal to the threshold and ranked before the stop adds 0.
  load({0.2f, 0.2f}, {1, -1});
  s.twin_limit = 1;
  rank_planes(s, f);
  EXPECT_EQ(order(), (std::vector<int32_t>{2, 1}));
  EXPECT_EQ(f, 0.0f);
  EXPECT_EQ(s.threshold_index, 2);

  // No rows at all.
  load({}, {});
  rank_planes(s, f);
  EXPECT_EQ(f, 0.0f);
  EXPECT_EQ(s.threshold_index, 0);
}

TEST_F(RankingTest, ObjectiveScoresPlanesOfTheTrialTensor) {
  // With zero angles the data frame is the principal frame: planes at 45 degrees between
  // sigma 1 and sigma 3 carry -0.5 or +0.5 by the sense of the glide, whatever R.
  const float poles[3][3] = {{half_root2, 0, half_root2}, {half_root2, 0, half_root2}, {1, 0, 0}};
  const float glides[3][3] = {
      {half_root2, 0, -half_root2}, {-half_root2, 0, half_root2}, {0, 0, 1}};
  s.data_count = 3;
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k < 3; ++k) {
      s.pole[i][k] = poles[i][k];
      s.glide[i][k] = glides[i][k];
    }
  }
  s.twin_flag[0] = -1;
  s.twin_flag[1] = 1;
  s.twin_flag[2] = -1;
  s.twin_limit = 1;
  const float x[4] = {0.0f, 0.0f, 0.0f, 0.3f};
  float f;
  objective(s, x, f);
  EXPECT_EQ(order(), (std::vector<int32_t>{2, 3, 1}));
  EXPECT_NEAR(s.shear_list[0], 0.5f, 1e-6f);
  EXPECT_EQ(s.shear_list[1], 0.0f);
  EXPECT_NEAR(s.shear_list[2], -0.5f, 1e-6f);
  EXPECT_EQ(s.threshold_index, 1);
  EXPECT_EQ(f, 0.0f);
}

TEST_F(RankingTest, EveryRowScoredByTheOneRowFormula) {
  // 499 rows: the rows taken four at a time and the last ones alone must give the
  // values of resolved_shear bit for bit.
  std::mt19937 gen(11);
  std::uniform_real_distribution<float> c(-1.0f, 1.0f);
  s.data_count = 499;
  for (int i = 0; i < s.data_count; ++i) {
    for (int k = 0; k < 3; ++k) {
      s.pole[i][k] = c(gen);
      s.glide[i][k] = c(gen);
    }
    s.twin_flag[i] = 1;
  }
  const float x[4] = {0.7f, -1.9f, 2.6f, 0.35f};
  float f;
  objective(s, x, f);
  for (int l = 0; l < s.data_count; ++l) {
    const int32_t row = s.shear_order[l];
    float a[3], b[3];
    principal_components(s, s.pole[row - 1], a);
    principal_components(s, s.glide[row - 1], b);
    ASSERT_EQ(std::bit_cast<uint32_t>(s.shear_list[l]),
              std::bit_cast<uint32_t>(resolved_shear(x[3], a, b)))
        << "row " << row;
  }
}

TEST_F(RankingTest, WildParametersStayInsideTheArrays) {
  s.data_count = max_rows;
  std::mt19937 gen(7);
  std::uniform_real_distribution<float> c(-1.0f, 1.0f);
  for (int i = 0; i < max_rows; ++i) {
    for (int k = 0; k < 3; ++k) {
      s.pole[i][k] = c(gen);
      s.glide[i][k] = c(gen);
    }
    s.twin_flag[i] = (i % 3 == 0) ? 1 : -1;
  }
  s.twin_limit = 50;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float wild[][4] = {{0.1f, 0.2f, 0.3f, 1e30f},
                           {0.1f, 0.2f, 0.3f, 3e38f},
                           {nan, 0.0f, 0.0f, 0.5f},
                           {1e20f, -1e20f, 0.0f, -1e30f}};
  for (const auto& x : wild) {
    float f;
    objective(s, x, f);
    std::vector<int32_t> rows = order();
    std::sort(rows.begin(), rows.end());
    for (int i = 0; i < max_rows; ++i) ASSERT_EQ(rows[i], i + 1);
    EXPECT_GE(s.threshold_index, 0);
    EXPECT_LE(s.threshold_index, max_rows);
  }
}

}  // namespace
}  // namespace gemino
