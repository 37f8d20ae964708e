// SPDX-License-Identifier: GPL-3.0-or-later
// The twin-percent scan from the converged search: a tensor's objective cannot rise when
// fewer twins are counted (the threshold is then a twin ranked no lower, and fewer
// untwinned planes lie above it, each by less), so offering every row its neighbours'
// answers makes the best objective fall or stay as the share falls; the same rows come
// out whatever the number of workers.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <memory>
#include <random>

#include "bootstrap/example_input.h"
#include "bootstrap/synthetic.h"
#include "bootstrap/twin_scan.h"
#include "gemino/converged.h"
#include "gemino/twin_data.h"

namespace {

bootstrap::SyntheticSet misread_set(uint64_t seed) {
  bootstrap::SyntheticRecipe recipe;
  recipe.seed = seed;
  recipe.flipped_share = 0.10;
  recipe.trial_count = 60;
  recipe.iteration_limit = 400;
  return bootstrap::make_synthetic(recipe);
}

TEST(ObjectiveProperty, NeverRisesWhenFewerTwinsAreCounted) {
  const bootstrap::SyntheticSet set = misread_set(11);
  const auto owner = std::make_unique<gemino::State>();
  gemino::State& s = *owner;
  gemino::InversionOptions o;
  o.trial_count = 1;
  o.iteration_limit = 1;
  o.seed = 1;
  ASSERT_EQ(gemino::invert(set.input.rows, o, s).status, gemino::InversionStatus::done);
  std::mt19937 gen(5);
  std::uniform_real_distribution<float> angle(-3.2f, 3.2f);
  std::uniform_real_distribution<float> ratio(-0.5f, 1.5f);
  for (int32_t t = 0; t < 20; ++t) {
    const std::array<float, 4> params = {angle(gen), angle(gen), angle(gen), ratio(gen)};
    float above = 0.0f;
    for (int32_t p = 100; p >= 1; --p) {
      s.twin_percent = p;
      float twinned = 0.0f;
      float untwinned = 0.0f;
      gemino::count_planes(s, twinned, untwinned);
      const float f = gemino::score_tensor(s, params).objective_reported;
      if (p < 100) {
        EXPECT_LE(f, above) << "tensor " << t << " at " << p << " %";
      }
      above = f;
    }
  }
}

TEST(TwinScan, BestObjectiveNeverRisesAsFewerTwinsAreCounted) {
  int32_t from_neighbour = 0;
  for (const uint64_t seed : {1u, 2u, 3u, 4u}) {
    const bootstrap::SyntheticSet set = misread_set(seed);
    const bootstrap::Scan scan = bootstrap::run_scan(set.input, {60, 100, 2}, 2);
    for (std::size_t i = 0; i + 1 < scan.rows.size(); ++i) {
      const bootstrap::ScanRow& lower = scan.rows[i];
      const bootstrap::ScanRow& upper = scan.rows[i + 1];
      ASSERT_TRUE(lower.valid && upper.valid);
      EXPECT_LE(lower.tensor.objective_reported_units, upper.tensor.objective_reported_units)
          << "set " << seed << " at " << lower.twin_percent << " %";
      from_neighbour += lower.from_neighbour ? 1 : 0;
    }
  }
  // Some rows of these sets are where their own search stopped short.
  EXPECT_GT(from_neighbour, 0);
}

TEST(TwinScan, SameRowsAndSuggestionWhateverTheWorkers) {
  const bootstrap::SyntheticSet set = misread_set(7);
  const bootstrap::Scan one = bootstrap::run_scan(set.input, {70, 100, 3}, 1);
  const bootstrap::Scan two = bootstrap::run_scan(set.input, {70, 100, 3}, 2);
  ASSERT_EQ(one.rows.size(), two.rows.size());
  for (std::size_t i = 0; i < one.rows.size(); ++i) {
    EXPECT_EQ(std::memcmp(one.rows[i].tensor.params, two.rows[i].tensor.params,
                          sizeof one.rows[i].tensor.params),
              0)
        << one.rows[i].twin_percent;
    EXPECT_EQ(one.rows[i].untwinned_above, two.rows[i].untwinned_above);
  }
  ASSERT_TRUE(one.suggestion && two.suggestion);
  EXPECT_EQ(one.suggestion->twin_percent, two.suggestion->twin_percent);
}

TEST(TwinScan, RowsCountTheTwinsOfTheirShareAndTheDataItsPlanes) {
  const bootstrap::SyntheticSet set = misread_set(3);
  const bootstrap::Scan scan = bootstrap::run_scan(set.input, {90, 100, 10}, 1);
  ASSERT_EQ(scan.rows.size(), 2u);
  EXPECT_EQ(scan.twinned_planes + scan.untwinned_planes, 180);
  EXPECT_EQ(scan.rows[1].twins_counted, scan.twinned_planes);
  EXPECT_EQ(scan.rows[0].twins_counted, scan.twinned_planes * 9 / 10);
  for (const bootstrap::ScanRow& r : scan.rows) {
    EXPECT_EQ(r.incompatible_twins, scan.twinned_planes - r.twins_counted) << r.twin_percent;
  }
}

}  // namespace

namespace {

// Every twin of the example fits one tensor, so every share's own search reaches an
// objective of 0: a neighbour's answer, which can do no better, never replaces it.
TEST(TwinScan, NeighboursNeverWinATie) {
  const bootstrap::Scan scan =
      bootstrap::run_scan(bootstrap_test::example_input(), {50, 100, 10}, 2);
  ASSERT_EQ(scan.rows.size(), 6u);
  for (const bootstrap::ScanRow& r : scan.rows) {
    ASSERT_TRUE(r.valid);
    EXPECT_EQ(r.tensor.objective_reported_units, 0.0f) << r.twin_percent;
    EXPECT_FALSE(r.from_neighbour) << r.twin_percent;
  }
}

}  // namespace

namespace {

TEST(TwinScan, MoreRowsThanAStateHoldsInvertNoRowAndSuggestNothing) {
  bootstrap::RunInput big = misread_set(2).input;
  while (big.rows.size() <= static_cast<std::size_t>(gemino::max_rows)) {
    big.rows.push_back(big.rows[big.rows.size() % 180]);
  }
  const bootstrap::Scan scan = bootstrap::run_scan(big, {90, 100, 5}, 2);
  ASSERT_EQ(scan.rows.size(), 3u);
  for (const bootstrap::ScanRow& r : scan.rows) EXPECT_FALSE(r.valid) << r.twin_percent;
  EXPECT_FALSE(scan.suggestion.has_value());
}

}  // namespace
