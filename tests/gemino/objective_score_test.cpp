// SPDX-License-Identifier: GPL-3.0-or-later
// The score of the search against the full ranking: the same value, threshold and
// threshold index bit for bit, over random values with ties, signed zeros, crowding,
// every share of twins and a threshold left from an earlier evaluation.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>

#include "gemino/objective.h"
#include "gemino/state.h"

namespace {

TEST(SearchScore, SameAsTheFullRankingOverRandomValuesWithTies) {
  std::mt19937 gen(2026);
  const auto full = std::make_unique<gemino::State>();
  const auto fast = std::make_unique<gemino::State>();
  for (int32_t round = 0; round < 4000; ++round) {
    gemino::reset_state(*full);
    const int32_t n = std::uniform_int_distribution<int32_t>(0, gemino::max_rows)(gen);
    // Few distinct values make ties and crowded buckets; many make the usual spread.
    const int32_t levels = std::uniform_int_distribution<int32_t>(0, 3)(gen) == 0 ? 7 : 100000;
    const float spread = std::uniform_int_distribution<int32_t>(0, 1)(gen) ? 0.5f : 0.02f;
    const float twin_share = std::uniform_real_distribution<float>(0.0f, 1.0f)(gen);
    int32_t twinned = 0;
    for (int32_t i = 0; i < n; ++i) {
      const int32_t level = std::uniform_int_distribution<int32_t>(-levels, levels)(gen);
      float v = spread * static_cast<float>(level) / static_cast<float>(levels);
      if (level == 0 && (i & 1)) v = -0.0f;
      full->shear_list[i] = v;
      full->twin_flag[i] = std::bernoulli_distribution(twin_share)(gen) ? 1 : -1;
      twinned += full->twin_flag[i] > 0;
    }
    full->data_count = n;
    full->twin_limit = std::uniform_int_distribution<int32_t>(-1, twinned + 2)(gen);
    full->threshold = std::uniform_real_distribution<float>(-0.3f, 0.3f)(gen);
    std::memcpy(fast.get(), full.get(), sizeof(gemino::State));

    float f_full = 0.0f;
    float f_fast = 0.0f;
    gemino::rank_planes(*full, f_full);
    gemino::score_planes(*fast, f_fast);
    ASSERT_EQ(std::memcmp(&f_full, &f_fast, sizeof f_full), 0) << round << " " << f_full;
    ASSERT_EQ(std::memcmp(&full->threshold, &fast->threshold, sizeof(float)), 0) << round;
    ASSERT_EQ(full->threshold_index, fast->threshold_index) << round;
  }
}

}  // namespace
