// SPDX-License-Identifier: GPL-3.0-or-later
// Resamples whose search waits for more restarts at its best objective and answers with the
// central one: the bootstrap's samples are those searches' answers, and on the example,
// where many tensors fit every twin, the central answer is not always the first found.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "bootstrap/bootstrap.h"
#include "bootstrap/example_input.h"

namespace {

TEST(CentralResample, EachSampleIsTheCentralAnswerOfItsResample) {
  const bootstrap::RunInput& in = bootstrap_test::example_input();
  bootstrap::Options options;
  options.resamples = 6;
  options.seed = 5;
  options.jobs = 2;
  options.influence = false;
  options.restarts_at_best = 4;
  const bootstrap::Summary s = bootstrap::run_bootstrap(in, options);
  const auto grains = bootstrap::grains_of(in.row_record);
  std::vector<gemino::PlaneRow> rows;
  const auto state = std::make_unique<gemino::State>();
  const gemino::ConvergedOptions defaults;
  int32_t moved = 0;
  for (int32_t index = 0; index < options.resamples; ++index) {
    const bootstrap::Sample& sample = s.samples[static_cast<std::size_t>(index)];
    ASSERT_TRUE(sample.valid);
    // The resample's rows and restart seed again, as the bootstrap draws them.
    bootstrap::TaskRandom random(options.seed, static_cast<uint64_t>(index));
    ASSERT_GE(bootstrap::draw_fitting_rows(in, grains, random, rows), 0);
    const int32_t seed = random.generator_seed();
    const gemino::ConvergedResult four = bootstrap::invert_resample(rows, in, seed, *state, 4);
    EXPECT_TRUE(four.restarts_at_best >= 4 || four.restarts == defaults.max_restarts) << index;
    EXPECT_EQ(sample.R, four.best.tensor.params[3]) << index;
    EXPECT_EQ(sample.threshold, four.best.tensor.threshold) << index;
    const gemino::ConvergedResult two = bootstrap::invert_resample(rows, in, seed, *state);
    moved += two.best.tensor.params[3] != four.best.tensor.params[3] ? 1 : 0;
  }
  EXPECT_GT(moved, 0);
}

}  // namespace
