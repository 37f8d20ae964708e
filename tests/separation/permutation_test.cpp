// SPDX-License-Identifier: GPL-3.0-or-later
// Which pairs of tensors the stress permutation warning looks at: the pair as first found at
// every share and the tensors the answer keeps, never a refined fit that was not kept; and
// on synthetic mixtures, a warning for one oblate event sharing sigma3 with another, none
// for two events with sigma1 and sigma3 exchanged.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "gemino/converged.h"
#include "separation/mixture.h"
#include "separation/model_choice.h"
#include "separation/outputs.h"
#include "separation/separation.h"

namespace {

// A tensor whose sigma3 leans `tilt_deg` from the vertical toward east, sigma2 north.
separation::Tensor leaning(double tilt_deg, float r) {
  const double t = tilt_deg * std::numbers::pi / 180.0;
  const float s = static_cast<float>(std::sin(t));
  const float c = static_cast<float>(std::cos(t));
  separation::Tensor k;
  const float axes[3][3] = {{-c, 0.0f, -s}, {0.0f, 1.0f, 0.0f}, {s, 0.0f, -c}};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) k.tensor.axes[i][j] = axes[i][j];
  }
  k.tensor.tensor.params[3] = r;
  k.tensor.tensor.threshold = 0.2f;
  return k;
}

struct Expected {
  int32_t tensors, first, second;
  bool refined;
};

struct Case {
  const char* what;
  std::vector<separation::Tensor> first_pair;
  std::vector<std::vector<separation::Tensor>> tried;
  int32_t chosen;
  std::vector<Expected> warned;
};

TEST(Permutation, LooksAtTheFirstPairAndTheTensorsKept) {
  using separation::Tensor;
  const Tensor flat = leaning(0.0, 0.3f);
  const Tensor oblate = leaning(15.0, 0.8f);
  const Tensor apart = leaning(25.0, 0.8f);
  const Tensor far = leaning(80.0, 0.9f);
  const Case cases[] = {
      {"first pair shares sigma3, one oblate, one tensor kept",
       {flat, oblate},
       {{flat}, {flat, far}},
       1,
       {{2, 0, 1, false}}},
      {"first pair 25 degrees apart", {flat, apart}, {{flat}, {flat, far}}, 1, {}},
      {"first pair shares sigma3, neither oblate",
       {flat, leaning(10.0, 0.7f)},
       {{flat}, {flat, far}},
       1,
       {}},
      {"a refined pair that is not kept says nothing",
       {flat, far},
       {{flat}, {flat, oblate}},
       1,
       {}},
      {"the two tensors kept share sigma3",
       {flat, far},
       {{flat}, {flat, oblate}},
       2,
       {{2, 0, 1, true}}},
      {"both the first pair and the pair kept",
       {flat, oblate},
       {{flat}, {flat, oblate}},
       2,
       {{2, 0, 1, false}, {2, 0, 1, true}}},
      {"a third tensor refused says nothing",
       {flat, far},
       {{flat}, {flat, far}, {flat, far, oblate}},
       2,
       {}},
      {"a third tensor kept", {}, {{flat}, {flat, far}, {flat, far, oblate}}, 3, {{3, 0, 2, true}}},
  };
  for (const Case& c : cases) {
    separation::Separation s;
    s.share = 70;
    s.first_pair = c.first_pair;
    s.tried = c.tried;
    s.chosen = c.chosen;
    s.tensors = c.tried[static_cast<std::size_t>(c.chosen - 1)];
    const std::vector<separation::Permutation> got = separation::permutations_of(s);
    ASSERT_EQ(got.size(), c.warned.size()) << c.what;
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].share, 70) << c.what;
      EXPECT_EQ(got[i].tensors, c.warned[i].tensors) << c.what;
      EXPECT_EQ(got[i].first, c.warned[i].first) << c.what;
      EXPECT_EQ(got[i].second, c.warned[i].second) << c.what;
      EXPECT_EQ(got[i].refined, c.warned[i].refined) << c.what;
      EXPECT_NEAR(got[i].sigma3_angle_deg, 15.0, 1e-3) << c.what;
    }
  }
}

TEST(Permutation, TheJsonSaysWhichPairItConcerns) {
  separation::Separation s;
  s.share = 80;
  s.permutations = {{80, 2, 0, 1, 12.5, false}, {80, 2, 0, 1, 12.5, true}};
  const nlohmann::ordered_json j = separation::tensors_json(s, "auto", 10.0);
  const nlohmann::ordered_json& w = j.at("permutation_warning");
  ASSERT_EQ(w.size(), 2u);
  EXPECT_EQ(w[0].at("message").get<std::string>(),
            "tensors 1 and 2 of the 2-tensor fit at 80 % of twins share sigma 3 (12.5 degrees "
            "apart) and one has R above 0.7: they may be one oblate tensor (a stress "
            "permutation) rather than two events");
  EXPECT_FALSE(w[0].at("refined").get<bool>());
  EXPECT_TRUE(w[1].at("refined").get<bool>());
}

separation::Mixture measured(uint64_t seed, separation::MixtureKind kind) {
  separation::MixtureRecipe recipe;
  recipe.seed = seed;
  recipe.kind = kind;
  return separation::make_mixture(recipe);
}

// One event of R 0.79 and one of R 0.27 sharing sigma3, 100 grains, 3 degrees of noise. At
// no share do the two refined tensors show it: where their sigma3 agree neither R is above
// 0.7 (0.57 and 0.23 at 80 %), and where one R is, their sigma3 lie over 20 degrees apart.
// Tensor 1 and the tensor first inverted on what it leaves share sigma3 within 8 degrees.
TEST(Permutation, WarnsOnSharedSigma3WhereTheRefinedPairsDoNot) {
  const separation::Mixture m = measured(3018, separation::MixtureKind::shared_sigma3);
  separation::Options o;
  o.seed = 6037;
  const separation::Separation answer = separation::separate(m.rows, o);
  ASSERT_EQ(answer.status, gemino::InversionStatus::done);
  EXPECT_EQ(answer.chosen, 1);
  int32_t refined_pairs = 0;
  for (const int32_t share : o.shares) {
    const separation::Separation at = separation::separate_at(m.rows, share, o);
    if (at.tried.size() < 2) continue;
    ++refined_pairs;
    const gemino::InvertedTensor& a = at.tried[1][0].tensor;
    const gemino::InvertedTensor& b = at.tried[1][1].tensor;
    EXPECT_FALSE(separation::may_be_permutation(gemino::axial_angle_deg(a.axes[2], b.axes[2]),
                                                a.tensor.params[3], b.tensor.params[3]))
        << share;
  }
  EXPECT_EQ(refined_pairs, 4);
  ASSERT_FALSE(answer.permutations.empty());
  for (const separation::Permutation& p : answer.permutations) {
    EXPECT_FALSE(p.refined);
    EXPECT_EQ(p.tensors, 2);
    EXPECT_LE(p.sigma3_angle_deg, separation::shared_sigma3_deg);
  }
}

// Two events with sigma1 and sigma3 exchanged: the second tensor first found lies across
// the first, whatever the share, and two tensors are kept; nothing is said of a permutation.
TEST(Permutation, NoWarningOnExchangedEvents) {
  const separation::Mixture m = measured(1000, separation::MixtureKind::exchanged);
  separation::Options o;
  o.seed = 2001;
  const separation::Separation answer = separation::separate(m.rows, o);
  ASSERT_EQ(answer.status, gemino::InversionStatus::done);
  EXPECT_EQ(answer.chosen, 2);
  EXPECT_TRUE(answer.permutations.empty());
  int32_t pairs = 0;
  for (const int32_t share : o.shares) {
    const separation::Separation at = separation::separate_at(m.rows, share, o);
    if (at.first_pair.size() != 2) continue;
    ++pairs;
    EXPECT_GT(
        gemino::axial_angle_deg(at.first_pair[0].tensor.axes[2], at.first_pair[1].tensor.axes[2]),
        60.0)
        << share;
  }
  EXPECT_EQ(pairs, 4);
}

}  // namespace
