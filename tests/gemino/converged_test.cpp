// SPDX-License-Identifier: GPL-3.0-or-later
// The converged inversion: restarts from seeds of their own until two reach the best
// objective, candidates that win only by scoring strictly lower, the same answer for the
// same seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <set>
#include <thread>
#include <vector>

#include "gemino/converged.h"
#include "gemino/example_rows.h"
#include "gemino/invert_check.h"

namespace {

using gemino_test::example_rows;

// Short searches at 80 % of twins, which stop at different objectives from seed to seed.
gemino::InversionOptions short_searches() {
  gemino::InversionOptions options;
  options.start_mode = 3;  // the restarts take mode 1 whatever the run's mode
  options.trial_count = 4;
  options.twin_percent = 80;
  options.seed = 1234567;
  options.iteration_limit = 40;
  return options;
}

std::array<float, 4> params_of(const gemino::InvertedTensor& t) {
  return {t.tensor.params[0], t.tensor.params[1], t.tensor.params[2], t.tensor.params[3]};
}

void expect_same(const gemino::InvertedTensor& a, const gemino::InvertedTensor& b) {
  EXPECT_EQ(std::memcmp(a.tensor.params, b.tensor.params, sizeof a.tensor.params), 0);
  EXPECT_EQ(a.objective_reported, b.objective_reported);
  EXPECT_EQ(a.tensor.threshold, b.tensor.threshold);
}

TEST(ConvergedSearch, RestartSeedsAreOddPositiveAndDistinct) {
  for (const int32_t run_seed : {0, 1, -7, 2147483647}) {
    std::set<int32_t> seen;
    for (int32_t i = 0; i < 200; ++i) {
      const int32_t seed = gemino::restart_seed(run_seed, i);
      EXPECT_GT(seed, 0);
      EXPECT_EQ(seed % 2, 1);
      EXPECT_EQ(seed, gemino::restart_seed(run_seed, i));
      seen.insert(seed);
    }
    EXPECT_EQ(seen.size(), 200u);
  }
  EXPECT_NE(gemino::restart_seed(1, 0), gemino::restart_seed(2, 0));
}

TEST(ConvergedSearch, EachRestartIsTheSearchOfItsOwnSeedInModeOne) {
  const auto& rows = example_rows();
  gemino::InversionOptions options = short_searches();
  gemino::ConvergedOptions converged;
  converged.max_restarts = 3;
  converged.tolerance = -1.0f;  // never reached: every restart is made
  const gemino::ConvergedResult c = gemino::invert_converged(rows, options, converged);
  ASSERT_EQ(c.status, gemino::InversionStatus::done);
  ASSERT_EQ(c.restarts, 3);
  ASSERT_EQ(c.restart_objectives.size(), 3u);
  EXPECT_EQ(c.restarts_at_best, 0);
  gemino::InversionOptions one = options;
  one.start_mode = 1;
  for (int32_t i = 0; i < 3; ++i) {
    one.seed = gemino::restart_seed(options.seed, i);
    const gemino::InversionResult r = gemino::invert(rows, one);
    EXPECT_EQ(r.final.objective_reported, c.restart_objectives[static_cast<std::size_t>(i)]);
    if (i == c.best_restart) expect_same(r.final, c.best);
  }
  EXPECT_EQ(c.best.objective_reported,
            *std::min_element(c.restart_objectives.begin(), c.restart_objectives.end()));
}

TEST(ConvergedSearch, SameSeedSameAnswerOnAnyStateAndThread) {
  const auto& rows = example_rows();
  const gemino::InversionOptions options = short_searches();
  const gemino::ConvergedOptions converged;
  const gemino::ConvergedResult alone = gemino::invert_converged(rows, options, converged);
  // A worker's state that held another inversion, and threads inverting at once.
  auto used = std::make_unique<gemino::State>();
  gemino::InversionOptions other = options;
  other.seed = 99;
  gemino::invert(rows, other, *used);
  const gemino::ConvergedResult reused = gemino::invert_converged(rows, options, converged, *used);
  std::vector<gemino::ConvergedResult> together(3);
  {
    std::vector<std::jthread> threads;
    for (auto& out : together) {
      threads.emplace_back([&] { out = gemino::invert_converged(rows, options, converged); });
    }
  }
  const std::vector<const gemino::ConvergedResult*> all = {&reused, &together[0], &together[1],
                                                           &together[2]};
  for (const gemino::ConvergedResult* c : all) {
    EXPECT_EQ(c->restarts, alone.restarts);
    EXPECT_EQ(c->restart_objectives, alone.restart_objectives);
    expect_same(c->best, alone.best);
  }
  // Another seed is another set of restarts.
  other = options;
  other.seed = options.seed + 2;
  EXPECT_NE(gemino::invert_converged(rows, other, converged).restart_objectives,
            alone.restart_objectives);
}

TEST(ConvergedSearch, StopsWhenTwoRestartsReachTheBestWithinTheTolerance) {
  const auto& rows = example_rows();
  const gemino::InversionOptions options = short_searches();
  gemino::ConvergedOptions converged;
  converged.max_restarts = 6;
  converged.tolerance = -1.0f;
  const std::vector<float> v =
      gemino::invert_converged(rows, options, converged).restart_objectives;
  ASSERT_EQ(v.size(), 6u);
  ASSERT_NE(v[0], v[1]);
  const float gap = v[0] > v[1] ? v[0] - v[1] : v[1] - v[0];
  // The two first restarts reach the better one's objective exactly at the gap...
  converged.tolerance = gap;
  const gemino::ConvergedResult at = gemino::invert_converged(rows, options, converged);
  EXPECT_EQ(at.restarts, 2);
  EXPECT_EQ(at.restarts_at_best, 2);
  // ...and not just below it: a later restart must confirm the best (or the cap ends it).
  converged.tolerance = std::nextafter(gap, 0.0f);
  const gemino::ConvergedResult below = gemino::invert_converged(rows, options, converged);
  EXPECT_GT(below.restarts, 2);
  EXPECT_LE(below.restarts, converged.max_restarts);
  if (below.restarts < converged.max_restarts) {
    EXPECT_GE(below.restarts_at_best, 2);
  }
  // At most the cap, and at least one restart.
  converged.tolerance = -1.0f;
  converged.max_restarts = 0;
  EXPECT_EQ(gemino::invert_converged(rows, options, converged).restarts, 1);
}

TEST(ConvergedSearch, CandidateBetterThanEveryRestartIsTheAnswer) {
  const auto& rows = example_rows();
  const gemino::InversionOptions options = short_searches();
  // A thorough search gives a tensor the short restarts do not reach.
  gemino::InversionOptions thorough = options;
  thorough.start_mode = 1;
  thorough.trial_count = 300;
  thorough.iteration_limit = 400;
  const gemino::InversionResult good = gemino::invert(rows, thorough);
  gemino::ConvergedOptions converged;
  converged.max_restarts = 2;
  converged.tolerance = -1.0f;
  // A poor candidate first: the answer is the best candidate, not the first.
  converged.candidates = {{0.1f, 0.2f, 0.3f, 0.9f}, params_of(good.final)};
  const gemino::ConvergedResult c = gemino::invert_converged(rows, options, converged);
  ASSERT_EQ(c.restarts, 2);
  ASSERT_LT(good.final.objective_reported,
            *std::min_element(c.restart_objectives.begin(), c.restart_objectives.end()));
  EXPECT_EQ(c.best_candidate, 1);
  EXPECT_EQ(c.best_restart, -1);
  EXPECT_EQ(c.candidate_objectives[1], good.final.objective_reported);
  expect_same(c.best, good.final);
  for (const float v : c.candidate_objectives) EXPECT_LE(c.best.objective_reported, v);
}

TEST(ConvergedSearch, TieGoesToTheRestart) {
  const auto& rows = example_rows();
  const gemino::InversionOptions options = short_searches();
  gemino::ConvergedOptions converged;
  converged.max_restarts = 3;
  converged.tolerance = -1.0f;
  const gemino::ConvergedResult plain = gemino::invert_converged(rows, options, converged);
  // The best restart's own tensor: the same score, and the restart keeps the answer.
  converged.candidates = {params_of(plain.best)};
  const gemino::ConvergedResult tie = gemino::invert_converged(rows, options, converged);
  ASSERT_EQ(tie.candidate_objectives[0], plain.best.objective_reported);
  EXPECT_EQ(tie.best_candidate, -1);
  EXPECT_EQ(tie.best_restart, plain.best_restart);
  expect_same(tie.best, plain.best);
}

TEST(ConvergedSearch, RenamedCandidateIsScoredInItsReportedUnits) {
  const auto& rows = example_rows();
  auto s = std::make_unique<gemino::State>();
  gemino::invert(rows, short_searches(), *s);
  const gemino::InvertedTensor t = gemino::score_tensor(*s, {0.3f, -0.7f, 1.1f, 2.5f});
  EXPECT_NEAR(t.tensor.params[3], 0.4f, 1e-6f);
  EXPECT_NEAR(t.objective_reported, t.tensor.objective * 0.4f, 1e-5f * t.tensor.objective);
}

TEST(ConvergedSearch, EndsWithTheRestartThatEnds) {
  const auto& rows = example_rows();
  gemino::InversionOptions options = short_searches();
  int32_t calls = 0;
  options.progress = [&](gemino::ProgressStage, int32_t, int32_t) { return ++calls < 30; };
  EXPECT_EQ(gemino::invert_converged(rows, options, {}).status, gemino::InversionStatus::cancelled);
  options.progress = {};
  const std::vector<gemino::PlaneRow> too_many(gemino::max_rows + 1, rows[0]);
  EXPECT_EQ(gemino::invert_converged(too_many, options, {}).status,
            gemino::InversionStatus::too_many_rows);
}

}  // namespace
