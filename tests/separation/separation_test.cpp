// SPDX-License-Identifier: GPL-3.0-or-later
// The separation of synthetic mixtures: what it reports holds together whatever the data,
// and the answer does not depend on the number of workers.
#include <gtest/gtest.h>

#include "separation/mixture.h"
#include "separation/planes.h"
#include "separation/separation.h"

namespace {

separation::Options quick_options(int32_t seed) {
  separation::Options o;
  o.shares = {90, 70};
  o.trial_count = 100;
  o.iteration_limit = 400;
  o.max_restarts = 3;
  o.seed = seed;
  return o;
}

separation::Mixture noiseless(uint64_t seed, separation::MixtureKind kind) {
  separation::MixtureRecipe recipe;
  recipe.seed = seed;
  recipe.kind = kind;
  recipe.grains = 50;
  recipe.noise_deg = 0.0;
  return separation::make_mixture(recipe);
}

TEST(Separation, NoUntwinnedPlaneAtOrAboveTheThresholdOfATensorOfObjectiveZero) {
  int32_t checked = 0;
  for (const uint64_t seed : {11u, 12u, 13u}) {
    const separation::Mixture m = noiseless(seed, separation::MixtureKind::exchanged);
    const separation::Separation s =
        separation::separate(m.rows, quick_options(static_cast<int32_t>(seed)));
    ASSERT_EQ(s.status, gemino::InversionStatus::done);
    for (const std::vector<separation::Tensor>& set : s.tried) {
      for (const separation::Tensor& t : set) {
        if (t.tensor.objective_reported != 0.0f) continue;
        ++checked;
        const std::vector<float> tau = separation::shear_values(m.rows, t.tensor);
        for (std::size_t i = 0; i < m.rows.size(); ++i) {
          if (m.rows[i].twin_flag > 0) continue;
          EXPECT_LT(tau[i], t.tensor.tensor.threshold) << "seed " << seed << " row " << i;
        }
      }
    }
  }
  EXPECT_GT(checked, 0);
}

TEST(Separation, ReportsWhatItsTensorsExplain) {
  const separation::Mixture m = noiseless(21, separation::MixtureKind::exchanged);
  const separation::Separation s = separation::separate(m.rows, quick_options(21));
  ASSERT_EQ(s.status, gemino::InversionStatus::done);
  ASSERT_EQ(static_cast<int32_t>(s.tensors.size()), s.chosen);
  ASSERT_EQ(s.plane_tensor.size(), m.rows.size());
  std::vector<std::vector<float>> tau;
  std::vector<float> thresholds;
  for (const separation::Tensor& t : s.tensors) {
    tau.push_back(separation::shear_values(m.rows, t.tensor));
    thresholds.push_back(t.tensor.tensor.threshold);
  }
  int32_t attributed = 0;
  for (std::size_t i = 0; i < m.rows.size(); ++i) {
    const int32_t k = s.plane_tensor[i];
    if (m.rows[i].twin_flag < 0) {
      EXPECT_EQ(k, 0);
      continue;
    }
    if (k == 0) continue;
    ++attributed;
    EXPECT_GE(tau[static_cast<std::size_t>(k - 1)][i], thresholds[static_cast<std::size_t>(k - 1)]);
  }
  EXPECT_EQ(s.unexplained[static_cast<std::size_t>(s.chosen - 1)],
            separation::unexplained_count(m.rows, tau, thresholds));
  int32_t given = 0;
  for (const separation::Tensor& t : s.tensors) given += t.twinned_given;
  EXPECT_EQ(given, s.twinned);
  EXPECT_LE(attributed, s.twinned);
}

TEST(Separation, TheAnswerDoesNotDependOnTheWorkers) {
  const separation::Mixture m = separation::make_mixture({});
  separation::Options one = quick_options(5);
  one.shares = {90, 80, 70};
  one.jobs = 1;
  separation::Options three = one;
  three.jobs = 3;
  const separation::Separation a = separation::separate(m.rows, one);
  const separation::Separation b = separation::separate(m.rows, three);
  EXPECT_EQ(a.share, b.share);
  EXPECT_EQ(a.chosen, b.chosen);
  EXPECT_EQ(a.plane_tensor, b.plane_tensor);
  ASSERT_EQ(a.tensors.size(), b.tensors.size());
  for (std::size_t k = 0; k < a.tensors.size(); ++k) {
    for (int j = 0; j < 4; ++j) {
      EXPECT_EQ(a.tensors[k].tensor.tensor.params[j], b.tensors[k].tensor.tensor.params[j]);
    }
  }
}

TEST(Separation, WarnsOfAPermutationFoundAtAnyShareWhateverShareWins) {
  int32_t found = 0;
  for (const uint64_t seed : {41u, 42u}) {
    const separation::Mixture m = noiseless(seed, separation::MixtureKind::shared_sigma3);
    separation::Options o = quick_options(static_cast<int32_t>(seed));
    o.shares = {90, 70, 50};
    const separation::Separation answer = separation::separate(m.rows, o);
    ASSERT_EQ(answer.status, gemino::InversionStatus::done);
    for (const int32_t share : o.shares) {
      const separation::Separation at = separation::separate_at(m.rows, share, o);
      for (const separation::Permutation& p : at.permutations) {
        if (p.refined) continue;
        ++found;
        bool warned = false;
        for (const separation::Permutation& q : answer.permutations) {
          warned = warned || (q.share == p.share && !q.refined && q.tensors == p.tensors &&
                              q.first == p.first && q.second == p.second);
        }
        EXPECT_TRUE(warned) << "seed " << seed << ", share " << share;
      }
    }
  }
  EXPECT_GT(found, 0);
}

TEST(Separation, AForcedNumberOfTensorsIsKeptWhenFound) {
  const separation::Mixture m = noiseless(31, separation::MixtureKind::single);
  separation::Options o = quick_options(31);
  o.shares = {60};
  o.tensors = 2;
  const separation::Separation s = separation::separate(m.rows, o);
  ASSERT_EQ(s.status, gemino::InversionStatus::done);
  ASSERT_GE(s.tried.size(), 2u);
  EXPECT_EQ(s.chosen, 2);
  EXPECT_EQ(s.tensors.size(), 2u);
}

}  // namespace
