// SPDX-License-Identifier: GPL-3.0-or-later
// The choice of the number of tensors and the permutation warning, on worked numbers and at
// the boundaries of the rule.
#include <gtest/gtest.h>

#include <cmath>

#include "separation/model_choice.h"

namespace {

TEST(Bic, WorkedExample) {
  // 10 of 100 planes unexplained: log L = 10 ln 0.1 + 90 ln 0.9 = -23.02585 - 9.48245
  // = -32.50830; with one tensor the penalty is 5 ln 100 = 23.02585: BIC = 88.04245.
  EXPECT_NEAR(separation::log_likelihood(10, 100), -32.50830, 1e-5);
  EXPECT_NEAR(separation::bic(10, 100, 1), 88.04245, 1e-5);
  // Two tensors leaving 2 of 100: -2 log L = -4 ln 0.02 - 196 ln 0.98 = 15.64809 + 3.95973;
  // BIC = 19.60782 + 46.05170 = 65.65952, a drop of 22.38 from one tensor.
  EXPECT_NEAR(separation::bic(2, 100, 2), 65.65952, 1e-5);
  // Every plane explained (0 ln 0 is 0): the penalty alone.
  EXPECT_NEAR(separation::bic(0, 100, 3), 15.0 * std::log(100.0), 1e-12);
  EXPECT_NEAR(separation::bic(100, 100, 1), 5.0 * std::log(100.0), 1e-12);
}

TEST(KeepFurtherTensor, NeedsADropAboveTenAndFifteenPercentOfTheTwins) {
  struct Case {
    double before, after;
    int32_t fresh, twinned;
    bool kept;
  };
  const Case cases[] = {
      {100.0, 90.0, 30, 100, false},   // a drop of exactly 10
      {100.0, 89.999, 30, 100, true},  // just more
      {100.0, 50.0, 15, 100, true},    // exactly 15 %
      {100.0, 50.0, 14, 100, false},   // just less
      {100.0, 50.0, 3, 20, true},      // 15 % of 20
      {100.0, 50.0, 6, 41, false},     // 14.6 %
      {100.0, 110.0, 60, 100, false},  // the BIC rises
      {100.0, 50.0, 0, 0, false},      // nothing new explained
  };
  for (const Case& c : cases) {
    EXPECT_EQ(separation::keep_further_tensor(c.before, c.after, c.fresh, c.twinned), c.kept)
        << c.before << " -> " << c.after << ", " << c.fresh << " of " << c.twinned;
  }
}

TEST(KeepFurtherTensor, TheWorkedExampleAtTheBoundary) {
  // 100 planes, 40 twinned. One tensor leaves 10 unexplained (BIC 88.04245); two leave 2
  // (BIC 65.65952): the drop of 22.38 is enough, and the share decides with the twins the
  // second tensor adds (15 % of 40 is exactly 6).
  const double one = separation::bic(10, 100, 1);
  const double two = separation::bic(2, 100, 2);
  EXPECT_TRUE(separation::keep_further_tensor(one, two, 6, 40));
  EXPECT_FALSE(separation::keep_further_tensor(one, two, 5, 40));
  // Two leaving 4 instead (BIC 79.64053): a drop of 8.40 is not enough, whatever the share.
  EXPECT_NEAR(separation::bic(4, 100, 2), 79.64053, 1e-5);
  EXPECT_FALSE(separation::keep_further_tensor(one, separation::bic(4, 100, 2), 20, 40));
  // A third tensor explaining the one plane left costs more than it gains (80.27786).
  EXPECT_NEAR(separation::bic(1, 100, 3), 80.27786, 1e-5);
  EXPECT_FALSE(separation::keep_further_tensor(two, separation::bic(1, 100, 3), 6, 40));
}

TEST(Permutation, WarnsForSharedSigma3AndOneROverSevenTenths) {
  struct Case {
    double angle;
    float r_a, r_b;
    bool warned;
  };
  const Case cases[] = {
      {20.0, 0.71f, 0.3f, true}, {20.0001, 0.71f, 0.3f, false}, {19.9, 0.3f, 0.85f, true},
      {5.0, 0.7f, 0.7f, false},  {5.0, 0.70001f, 0.1f, true},   {0.0, 0.2f, 0.3f, false},
      {45.0, 0.9f, 0.9f, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(separation::may_be_permutation(c.angle, c.r_a, c.r_b), c.warned)
        << c.angle << " " << c.r_a << " " << c.r_b;
  }
}

}  // namespace
