// SPDX-License-Identifier: GPL-3.0-or-later
// What makes a bootstrap a bootstrap: every resample draws grains with replacement and
// its own starting tensors, every cone is measured around its own axis, the interval is
// the central 95 %, and the scan counts its planes down to the threshold the optimiser
// found. Each case is built so that the usual slips (no resampling, one seed for all,
// a cone around sigma1, 5-95 %, a rank too many) change the answer.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <numbers>
#include <set>
#include <vector>

#include "bootstrap/bootstrap.h"
#include "bootstrap/example_input.h"
#include "bootstrap/twin_scan.h"

namespace {

using bootstrap::RunInput;

using bootstrap_test::example_input;

struct PercentileCase {
  std::vector<double> values;
  double low, high;
};

TEST(PercentileInterval, CentralNinetyFivePercentOfKnownSamples) {
  auto range = [](int n, double step) {
    std::vector<double> v;
    // Given in a scrambled order: the interval sorts them itself.
    for (int k = 0; k < n; ++k) v.push_back(((k * 7) % n) * step);
    return v;
  };
  const PercentileCase cases[] = {
      {range(41, 1.0), 1.0, 39.0},      // 2.5 % and 97.5 % fall on order statistics
      {range(11, 10.0), 2.5, 97.5},     // a quarter of the way between them
      {range(201, 1.0), 5.0, 195.0},    // 5-95 % would give 10 and 190
      {range(81, 0.5), 1.0, 39.0},      // 2.5 % of 80 gaps is two of 0.5
      {{3.0, 3.0, 3.0, 3.0}, 3.0, 3.0}  // no spread, no interval
  };
  for (const PercentileCase& c : cases) {
    const bootstrap::Interval i = bootstrap::percentile_interval(c.values);
    EXPECT_NEAR(i.low, c.low, 1e-9) << c.values.size();
    EXPECT_NEAR(i.high, c.high, 1e-9) << c.values.size();
  }
}

// A frame turned away from the data axes, and a direction turned from one of its axes
// toward another by an angle.
using Vec = std::array<double, 3>;

Vec turned(const Vec& from, const Vec& toward, double deg) {
  const double a = deg * std::numbers::pi / 180.0;
  return {std::cos(a) * from[0] + std::sin(a) * toward[0],
          std::cos(a) * from[1] + std::sin(a) * toward[1],
          std::cos(a) * from[2] + std::sin(a) * toward[2]};
}

TEST(Summary, EachConeAroundItsOwnAxisAndTheIntervalOfR) {
  const Vec e1 = {0.6, 0.64, -0.48};
  const Vec e2 = {0.8, -0.48, 0.36};
  const Vec e3 = {0.0, 0.6, 0.8};
  RunInput input;
  results::Axis* ref[3] = {&input.reference.sigma1, &input.reference.sigma2,
                           &input.reference.sigma3};
  const Vec* frame[3] = {&e1, &e2, &e3};
  for (int j = 0; j < 3; ++j) {
    for (int k = 0; k < 3; ++k) ref[j]->vector[k] = static_cast<float>((*frame[j])[k]);
  }
  // Forty resamples: sigma1 turned 1..40 degrees toward sigma2, sigma2 11..50 toward
  // sigma3, sigma3 31..70 toward sigma1; every second one given end for end. Around any
  // other axis than its own, a resampled axis lies near 90 degrees.
  bootstrap::Summary summary;
  for (int k = 0; k < 40; ++k) {
    bootstrap::Sample s;
    s.valid = true;
    const double sign = k % 2 ? -1.0 : 1.0;
    const Vec axes[3] = {turned(e1, e2, 1.0 + k), turned(e2, e3, 11.0 + k),
                         turned(e3, e1, 31.0 + k)};
    for (int j = 0; j < 3; ++j) {
      for (int c = 0; c < 3; ++c) s.axes[j][c] = static_cast<float>(sign * axes[j][c]);
    }
    s.R = static_cast<float>((k * 13) % 40) / 40.0f + 0.0125f;  // 0.0125 .. 0.9875
    summary.samples.push_back(s);
  }
  bootstrap::Sample invalid;
  summary.samples.push_back(invalid);
  bootstrap::summarize(input, summary);
  // The 38th smallest angle of 40 holds 95 %.
  EXPECT_NEAR(summary.cone95_deg[0], 38.0, 1e-3);
  EXPECT_NEAR(summary.cone95_deg[1], 48.0, 1e-3);
  EXPECT_NEAR(summary.cone95_deg[2], 68.0, 1e-3);
  EXPECT_EQ(summary.invalid, 1);
  // R of the samples: 0.0125 + k/40, so the 2.5 % point is at 0.975 of the first gap.
  EXPECT_NEAR(summary.R.low, 0.0125 + 0.975 / 40.0, 1e-6);
  EXPECT_NEAR(summary.R.high, 0.0125 + 38.025 / 40.0, 1e-6);
}

TEST(Resampling, GrainsDrawnWithReplacementAndEachResampleItsOwnDraw) {
  const RunInput& in = example_input();
  const auto grains = bootstrap::grains_of(in.row_record);
  std::map<int32_t, int32_t> grain_of_plane;
  for (std::size_t g = 0; g < grains.size(); ++g) {
    for (const int32_t row : grains[g]) {
      grain_of_plane[in.rows[static_cast<std::size_t>(row)].data_number] = static_cast<int32_t>(g);
    }
  }
  ASSERT_EQ(grain_of_plane.size(), in.rows.size());  // plane numbers name one plane each
  std::set<std::vector<int32_t>> draws;
  std::set<int32_t> generator_seeds;
  std::vector<gemino::PlaneRow> rows;
  const int32_t resamples = 200;
  for (int32_t index = 0; index < resamples; ++index) {
    bootstrap::TaskRandom random(3, static_cast<uint64_t>(index));
    bootstrap::resample_rows(in, grains, random, rows);
    generator_seeds.insert(random.generator_seed());
    // The grains in the order drawn, one entry per grain (its first plane).
    std::vector<int32_t> drawn;
    std::set<int32_t> distinct;
    for (std::size_t at = 0; at < rows.size();) {
      const int32_t g = grain_of_plane.at(rows[at].data_number);
      drawn.push_back(g);
      distinct.insert(g);
      at += grains[static_cast<std::size_t>(g)].size();
    }
    ASSERT_EQ(drawn.size(), grains.size());
    // Sixty draws from sixty grains repeat some and miss others: all sixty once is a
    // chance of 1 in 10^25. About 1 - 1/e of the grains are drawn.
    EXPECT_LT(distinct.size(), grains.size()) << index;
    EXPECT_GT(distinct.size(), grains.size() / 2) << index;
    draws.insert(drawn);
  }
  EXPECT_EQ(draws.size(), static_cast<std::size_t>(resamples));
  EXPECT_EQ(generator_seeds.size(), static_cast<std::size_t>(resamples));
}

TEST(Resampling, EachResampleInvertsItsOwnDrawFromItsOwnSeed) {
  const RunInput& in = example_input();
  bootstrap::Options options;
  options.resamples = 6;
  options.seed = 29;
  options.jobs = 2;
  options.influence = false;
  options.widest_margin = false;  // the search's own answer; widened ones are tested apart
  const bootstrap::Summary summary = bootstrap::run_bootstrap(in, options);
  ASSERT_EQ(summary.samples.size(), 6u);
  const auto grains = bootstrap::grains_of(in.row_record);
  std::vector<gemino::PlaneRow> rows;
  for (int32_t index = 0; index < 6; ++index) {
    const bootstrap::Sample& s = summary.samples[static_cast<std::size_t>(index)];
    ASSERT_TRUE(s.valid);
    // The same resample again from (seed, index) alone, inverted on its own.
    bootstrap::TaskRandom random(options.seed, static_cast<uint64_t>(index));
    bootstrap::resample_rows(in, grains, random, rows);
    // The converged search, its restart seeds drawn from the resample's own seed, the
    // full-data tensor its one candidate.
    gemino::InversionOptions o;
    o.start_mode = 1;
    o.trial_count = in.trial_count;
    o.iteration_limit = in.iteration_limit;
    o.twin_percent = in.twin_percent;
    o.seed = random.generator_seed();
    gemino::ConvergedOptions c;
    const float* p = in.reference.params;
    c.candidates.push_back({p[0], p[1], p[2], p[3]});
    const gemino::ConvergedResult r = gemino::invert_converged(rows, o, c);
    ASSERT_EQ(r.status, gemino::InversionStatus::done);
    EXPECT_EQ(std::memcmp(s.axes, r.best.axes, sizeof s.axes), 0) << index;
    EXPECT_EQ(s.R, r.best.tensor.params[3]) << index;
    EXPECT_EQ(s.threshold, r.best.tensor.threshold) << index;
    EXPECT_EQ(s.objective, r.best.objective_reported) << index;
    EXPECT_EQ(s.converged, r.restarts_at_best >= 2) << index;
    // No two resamples give the same tensor.
    for (int32_t other = 0; other < index; ++other) {
      const bootstrap::Sample& t = summary.samples[static_cast<std::size_t>(other)];
      EXPECT_FALSE(std::memcmp(s.axes, t.axes, sizeof s.axes) == 0 && s.R == t.R)
          << index << " " << other;
    }
  }
  // Resampled grains move the axes and R.
  EXPECT_GT(summary.cone95_deg[0], 0.0);
  EXPECT_GT(summary.R.high - summary.R.low, 0.0);
}

// The scan counts as "above the threshold" the planes ranked 1 to the threshold index:
// there lie exactly the twinned planes the percentage asks for, INT(p * twinned / 100),
// the one at the threshold included.
TEST(TwinScan, PlanesAboveTheThresholdAreTheCountedTwins) {
  const RunInput& in = example_input();
  int32_t twinned = 0;
  for (const gemino::PlaneRow& row : in.rows) twinned += row.twin_flag > 0 ? 1 : 0;
  ASSERT_EQ(twinned, 54);
  const auto scan = bootstrap::run_scan(in, {48, 52, 1}, 2);
  // 54 twins: 25.92, 26.46, 27, 27.54 and 28.08 of them, whole ones counted.
  const int32_t counted[] = {25, 26, 27, 27, 28};
  ASSERT_EQ(scan.rows.size(), 5u);
  for (std::size_t k = 0; k < 5; ++k) {
    const bootstrap::ScanRow& row = scan.rows[k];
    ASSERT_TRUE(row.valid) << row.twin_percent;
    EXPECT_EQ(row.incompatible_twins, twinned - counted[k]) << row.twin_percent;
    EXPECT_EQ(row.untwinned_above + counted[k], row.tensor.threshold_index) << row.twin_percent;
  }
}

}  // namespace
