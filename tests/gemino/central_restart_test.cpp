// SPDX-License-Identifier: GPL-3.0-or-later
// The central one of the restarts that fit the data equally well: which restarts count as
// tied, which one is central, and a search that waits for more restarts at the best
// before it stops and answers with the central one, a candidate still never winning a tie.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "gemino/converged.h"
#include "gemino/example_rows.h"

namespace {

// A restart whose sigma1 is horizontal at `azimuth_deg` from east, sigma3 vertical.
gemino::InvertedTensor horizontal_sigma1(float objective, double azimuth_deg) {
  gemino::InvertedTensor t{};
  t.objective_reported = objective;
  const double a = azimuth_deg * std::acos(-1.0) / 180.0;
  t.axes[0][0] = static_cast<float>(std::cos(a));
  t.axes[0][1] = static_cast<float>(std::sin(a));
  t.axes[2][2] = 1.0f;
  return t;
}

gemino::ConvergedResult restarts(const std::vector<gemino::InvertedTensor>& tensors) {
  gemino::ConvergedResult c;
  c.restart_tensors = tensors;
  for (const auto& t : tensors) c.restart_objectives.push_back(t.objective_reported);
  c.restarts = static_cast<int32_t>(tensors.size());
  return c;
}

TEST(CentralRestart, TheTiedRestartNearestTheOthers) {
  const float tol = 1.0E-4f;
  const float none = 1.0f;  // a ceiling no restart reaches
  struct Case {
    const char* what;
    std::vector<gemino::InvertedTensor> tensors;
    float ceiling;
    int32_t expected;
  };
  const Case cases[] = {
      // Angle sums 40, 30, 50: the middle one.
      {"three tied",
       {horizontal_sigma1(0, 0), horizontal_sigma1(0, 10), horizontal_sigma1(0, 30)},
       none,
       1},
      // A restart within the tolerance is tied; one just above it is not (it would be the
      // central one, first of equal sums, were it counted).
      {"outside the tolerance",
       {horizontal_sigma1(2.0E-4f, 5), horizontal_sigma1(0, 0), horizontal_sigma1(0, 10),
        horizontal_sigma1(0, 30)},
       none,
       2},
      {"inside the tolerance",
       {horizontal_sigma1(1.0E-4f, 5), horizontal_sigma1(0, 0), horizontal_sigma1(0, 10),
        horizontal_sigma1(0, 30)},
       none,
       0},
      // A restart scoring above the ceiling (a candidate's score) does not count: two
      // are left.
      {"above the ceiling",
       {horizontal_sigma1(0, 0), horizontal_sigma1(5.0E-5f, 10), horizontal_sigma1(0, 30)},
       2.0E-5f,
       -1},
      {"at the ceiling",
       {horizontal_sigma1(0, 0), horizontal_sigma1(2.0E-5f, 10), horizontal_sigma1(0, 30)},
       2.0E-5f,
       1},
      // Lines, not directions: 170 degrees is 10 from 0.
      {"opposite directions",
       {horizontal_sigma1(0, 30), horizontal_sigma1(0, 170), horizontal_sigma1(0, 0)},
       none,
       2},
      {"two tied", {horizontal_sigma1(0, 0), horizontal_sigma1(0, 10)}, none, -1},
      {"three, one apart",
       {horizontal_sigma1(0, 0), horizontal_sigma1(0.5f, 10), horizontal_sigma1(0, 30)},
       none,
       -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(gemino::central_restart(restarts(c.tensors), 0.0f, c.ceiling, tol), c.expected)
        << c.what;
  }
}

// Full searches of the example: every twin is fitted (objective 0) by a region of
// tensors, and each restart ends somewhere in it.
gemino::InversionOptions example_search() {
  gemino::InversionOptions options;
  options.start_mode = 1;
  options.trial_count = 200;
  options.iteration_limit = 900;
  options.twin_percent = 100;
  options.seed = 1;
  return options;
}

TEST(CentralRestart, ASearchWaitingForFourAnswersWithTheirCentralOne) {
  const auto& rows = gemino_test::example_rows();
  gemino::ConvergedOptions plain;
  const gemino::ConvergedResult two = gemino::invert_converged(rows, example_search(), plain);
  gemino::ConvergedOptions four = plain;
  four.restarts_at_best = 4;
  // The plain answer as a candidate: it ties, and a restart keeps the answer.
  four.candidates = {{two.best.tensor.params[0], two.best.tensor.params[1],
                      two.best.tensor.params[2], two.best.tensor.params[3]}};
  const gemino::ConvergedResult c = gemino::invert_converged(rows, example_search(), four);
  ASSERT_EQ(c.status, gemino::InversionStatus::done);
  ASSERT_LT(c.restarts, four.max_restarts);
  EXPECT_EQ(c.restarts_at_best, 4);
  EXPECT_GE(c.restarts, 4);
  EXPECT_EQ(c.best_candidate, -1);
  const int32_t central = gemino::central_restart(c, c.best.objective_reported,
                                                  c.candidate_objectives[0], four.tolerance);
  ASSERT_GE(central, 0);
  EXPECT_EQ(c.best_restart, central);
  EXPECT_EQ(c.best.tensor.params[0],
            c.restart_tensors[static_cast<std::size_t>(central)].tensor.params[0]);
  EXPECT_LE(c.best.objective_reported, c.candidate_objectives[0]);
  // The same seed, the same answer.
  const gemino::ConvergedResult again = gemino::invert_converged(rows, example_search(), four);
  EXPECT_EQ(again.best_restart, c.best_restart);
  // Two at the best by default: the first restart answers, as before.
  EXPECT_EQ(two.restarts, 2);
  EXPECT_EQ(two.best_restart, 0);
}

}  // namespace
