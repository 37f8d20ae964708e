// SPDX-License-Identifier: GPL-3.0-or-later
// What the bootstrap and the scan say when a value is missing or a draw does not fit: a
// worker's exception reaches the caller, grains are the data's c-axis records, resamples
// too large for the rows are drawn again and counted, undefined differential stresses are
// counted and leave the interval out past 5 %, and the scan's range is held to its bounds.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <thread>

#include "bootstrap/bootstrap.h"
#include "bootstrap/confidence_text.h"
#include "bootstrap/parallel.h"
#include "bootstrap/twin_scan.h"
#include "gemino/driver_in_process.h"

namespace {

using bootstrap::RunInput;

TEST(ParallelFor, AWorkersExceptionReachesTheCallerAfterAllStop) {
  struct Case {
    int32_t jobs;
    int32_t throwing_index;
  };
  for (const Case c : {Case{1, 0}, Case{1, 49}, Case{3, 0}, Case{3, 17}, Case{3, 49}}) {
    std::atomic<bool> stop{false};
    std::atomic<int32_t> ran{0};
    try {
      bootstrap::parallel_for(50, c.jobs, stop, [&](int32_t, int32_t index) {
        ++ran;
        if (index == c.throwing_index) throw std::runtime_error("task " + std::to_string(index));
      });
      ADD_FAILURE() << "no exception, jobs " << c.jobs;
    } catch (const std::runtime_error& e) {
      EXPECT_EQ(std::string(e.what()), "task " + std::to_string(c.throwing_index));
    }
    // The others stop taking tasks: a single worker runs none after the throw.
    if (c.jobs == 1) {
      EXPECT_EQ(ran.load(), c.throwing_index + 1);
    }
  }
}

TEST(ParallelFor, AHelperThreadsExceptionReachesTheCaller) {
  // The calling thread's worker waits until a helper has thrown: the exception is thrown
  // on a thread of the pool, not on the caller's.
  std::atomic<bool> stop{false};
  std::atomic<bool> thrown{false};
  EXPECT_THROW(bootstrap::parallel_for(50, 3, stop,
                                       [&](int32_t worker, int32_t) {
                                         if (worker != 0) {
                                           thrown = true;
                                           throw std::runtime_error("helper");
                                         }
                                         while (!thrown) std::this_thread::yield();
                                       }),
               std::runtime_error);
}

// Rows of hand-made grains: `sizes[g]` planes for grain g, every grain numbered `number`
// (grains that share a number, as across blocks or when a number is reused).
RunInput shared_number_input(const std::vector<int32_t>& sizes, int32_t number = 7) {
  RunInput in;
  for (std::size_t g = 0; g < sizes.size(); ++g) {
    for (int32_t k = 0; k < sizes[g]; ++k) {
      gemino::PlaneRow row{};
      row.pole[2] = 1.0f;
      row.glide[0] = 1.0f;
      row.data_number = static_cast<int32_t>(g) * 1000 + k;
      row.twin_flag = 1;
      in.rows.push_back(row);
      in.row_grain.push_back(number);
      in.row_record.push_back(static_cast<int32_t>(g));
    }
  }
  return in;
}

TEST(Bootstrap, GrainsAreTheCAxisRecordsNotTheNumbers) {
  const RunInput in = shared_number_input({2, 3, 1});
  const auto grains = bootstrap::grains_of(in.row_record);
  ASSERT_EQ(grains.size(), 3u);
  EXPECT_EQ(grains[1], (std::vector<int32_t>{2, 3, 4}));
}

TEST(Bootstrap, GrainsOfARunFollowTheCAxisRecords) {
  // Two grains numbered 1 in one block, then a grain numbered 2: three grains.
  gemino_test::ScratchDir dir;
  const std::string data =
      "0       0    0    0 \n"
      "  268   37         0    1     \n"
      "  332   29         0    1    N\n"
      "   19   15         0    1    X\n"
      "   10   40         0    1     \n"
      "  201   60    D    0    1    N\n"
      "  120   20         0    1    X\n"
      "  293   29         0    2     \n"
      "   40   70         0    2    X\n"
      "  999\n";
  test_support::put(dir.file("two-ones.txt"), data);
  ASSERT_EQ(gemino_test::run_driver_in_process(dir, GEMINO_EXAMPLES "/params.txt",
                                               dir.file("two-ones.txt")),
            0);
  const RunInput in = bootstrap::run_input(gemino::shared_state());
  ASSERT_EQ(in.rows.size(), 5u);
  EXPECT_EQ(in.row_grain, (std::vector<int32_t>{1, 1, 1, 1, 2}));
  EXPECT_EQ(in.row_record, (std::vector<int32_t>{0, 0, 1, 1, 2}));
  EXPECT_EQ(bootstrap::grains_of(in.row_record).size(), 3u);
}

TEST(Bootstrap, ResamplesAndLeftOutGrainsAreTheCAxisRecords) {
  // The example's grains, all given one number: the bootstrap still leaves out each of
  // its 60 c-axis records in turn.
  gemino_test::ScratchDir dir;
  ASSERT_EQ(gemino_test::run_driver_in_process(dir, GEMINO_EXAMPLES "/params.txt",
                                               GEMINO_EXAMPLES "/data.txt"),
            0);
  RunInput in = bootstrap::run_input(gemino::shared_state());
  std::fill(in.row_grain.begin(), in.row_grain.end(), 1);
  in.trial_count = 3;
  in.iteration_limit = 10;
  bootstrap::Options options;
  options.resamples = 1;
  const bootstrap::Summary s = bootstrap::run_bootstrap(in, options);
  EXPECT_EQ(s.left_out, 60);
}

TEST(Bootstrap, DrawsTooLargeForTheRowsAreDrawnAgain) {
  // One grain of 400 planes among ten of 10: a draw holding it twice exceeds 500 rows.
  std::vector<int32_t> sizes(10, 10);
  sizes.push_back(400);
  const RunInput in = shared_number_input(sizes);
  const auto grains = bootstrap::grains_of(in.row_record);
  std::vector<gemino::PlaneRow> rows;
  int32_t redrawn = 0;
  for (uint64_t index = 0; index < 40; ++index) {
    bootstrap::TaskRandom random(3, index);
    const int32_t redraws = bootstrap::draw_fitting_rows(in, grains, random, rows);
    ASSERT_GE(redraws, 0) << index;
    EXPECT_LE(rows.size(), 500u) << index;
    redrawn += redraws > 0;
  }
  EXPECT_GT(redrawn, 0);
  // A single grain larger than the rows never fits.
  const RunInput huge = shared_number_input({501});
  bootstrap::TaskRandom random(3, 0);
  EXPECT_EQ(bootstrap::draw_fitting_rows(huge, bootstrap::grains_of(huge.row_record), random, rows),
            -1);
}

TEST(Bootstrap, ResamplesTooLargeAreCountedNotDropped) {
  // The same grains with real planes: the run's example grains, one repeated to 400 rows.
  gemino_test::ScratchDir dir;
  ASSERT_EQ(gemino_test::run_driver_in_process(dir, GEMINO_EXAMPLES "/params.txt",
                                               GEMINO_EXAMPLES "/data.txt"),
            0);
  RunInput in = bootstrap::run_input(gemino::shared_state());
  in.rows.resize(100);
  in.row_grain.resize(100);
  in.row_record.resize(100);
  const gemino::PlaneRow first = in.rows[0];
  for (int32_t k = 0; k < 380; ++k) {
    in.rows.push_back(first);
    in.row_grain.push_back(9999);
    in.row_record.push_back(9999);
  }
  in.trial_count = 3;
  in.iteration_limit = 20;
  bootstrap::Options options;
  options.resamples = 30;
  options.influence = false;
  const bootstrap::Summary s = bootstrap::run_bootstrap(in, options);
  EXPECT_GT(s.redrawn, 0);
  EXPECT_EQ(s.too_many_planes, 0);
  EXPECT_EQ(s.invalid, 0);
  const auto j = bootstrap::bootstrap_json(s);
  EXPECT_EQ(j["redrawn"], s.redrawn);
  EXPECT_NE(bootstrap::bootstrap_summary_text(s).find("drawn again"), std::string::npos);
}

bootstrap::Sample sample_with(std::optional<double> differential) {
  bootstrap::Sample s;
  s.valid = true;
  s.axes[0][2] = -1.0f;
  s.axes[1][0] = 1.0f;
  s.axes[2][1] = 1.0f;
  s.R = 0.5f;
  s.threshold = differential ? 0.1f : 0.0f;
  s.differential_mpa = differential;
  return s;
}

TEST(Bootstrap, UndefinedDifferentialStressesAreCountedAndHideNoInterval) {
  struct Case {
    int32_t defined, undefined;
    bool interval;
  };
  // 5 % of the inverted resamples may leave it undefined; one more and there is no interval.
  const Case cases[] = {{100, 0, true}, {95, 5, true},  {94, 6, false},
                        {19, 1, true},  {18, 2, false}, {0, 10, false}};
  for (const Case& c : cases) {
    bootstrap::Summary summary;
    for (int32_t k = 0; k < c.defined; ++k) summary.samples.push_back(sample_with(50.0 + k));
    for (int32_t k = 0; k < c.undefined; ++k) summary.samples.push_back(sample_with(std::nullopt));
    summary.resamples = static_cast<int32_t>(summary.samples.size());
    bootstrap::summarize(RunInput{}, summary);
    EXPECT_EQ(summary.undefined_differential, c.undefined);
    EXPECT_EQ(summary.differential_mpa.has_value(), c.interval) << c.defined << "/" << c.undefined;
    const auto j = bootstrap::bootstrap_json(summary);
    EXPECT_EQ(j["differential_mpa_interval"].is_null(), !c.interval);
    EXPECT_EQ(j["differential_undefined"], c.undefined);
    if (c.interval) {
      EXPECT_GE(summary.differential_mpa->low, 50.0);
    }
    const std::string text = bootstrap::bootstrap_summary_text(summary);
    EXPECT_EQ(text.find("interval: undefined") != std::string::npos, !c.interval) << text;
    // The CSV leaves the field empty: never 0.
    const std::string csv = bootstrap::resamples_csv(summary);
    std::size_t empty_fields = 0;
    for (std::size_t at = csv.find(",\n"); at != std::string::npos; at = csv.find(",\n", at + 1)) {
      ++empty_fields;
    }
    EXPECT_EQ(empty_fields, static_cast<std::size_t>(c.undefined));
  }
}

TEST(Bootstrap, DifferentialStressIsUndefinedWithoutAPositiveThreshold) {
  EXPECT_FALSE(bootstrap::differential_mpa(0.0, 10.0));
  EXPECT_FALSE(bootstrap::differential_mpa(-0.2, 10.0));
  EXPECT_FALSE(bootstrap::differential_mpa(1e-320, 10.0));  // the quotient overflows
  ASSERT_TRUE(bootstrap::differential_mpa(0.125, 10.0));
  EXPECT_DOUBLE_EQ(*bootstrap::differential_mpa(0.125, 10.0), 80.0);
}

TEST(TwinScan, StepsBeyondTheRangeAreRefused) {
  const struct {
    const char* text;
    bool accepted;
  } cases[] = {{"70:100:30", true},       {"70:100:31", false}, {"100:100:5", true},
               {"1:100:99", true},        {"1:100:100", false}, {"1:2:2147483647", false},
               {"99:100:1", true},        {"-5:100:5", false},  {"70:100:99999999999", false},
               {"50:50:2147483647", true}};
  for (const auto& c : cases) {
    EXPECT_EQ(bootstrap::parse_scan_range(c.text).has_value(), c.accepted) << c.text;
  }
}

TEST(TwinScan, RowsAreCountedWithoutWrapping) {
  // A step near the int32_t limit from the last percentage: one row, no wrapped count.
  const RunInput in = shared_number_input({3, 3});
  RunInput small = in;
  small.trial_count = 2;
  small.iteration_limit = 5;
  const auto scan = bootstrap::run_scan(small, {100, 100, INT32_MAX}, 1);
  ASSERT_EQ(scan.rows.size(), 1u);
  EXPECT_EQ(scan.rows[0].twin_percent, 100);
}

TEST(Bootstrap, TheBracketIntervalReachesTheUpperEndsAndIsUnboundedPastTheirPercentile) {
  // n samples at 100 MPa whose brackets reach to 100 + k MPa, the last `unbounded` of them
  // without an upper end. The 97.5 % point of 1000 lies between the 975th and 976th values
  // in order; of 41 it is the 40th exactly.
  const auto summary_of = [](int32_t n, int32_t unbounded, bool bracket_interval) {
    bootstrap::Summary s;
    s.bracket_interval = bracket_interval;
    for (int32_t k = 0; k < n; ++k) {
      s.samples.push_back(sample_with(100.0));
      if (k < n - unbounded) s.samples.back().differential_high_mpa = 100.0 + k;
    }
    bootstrap::summarize(RunInput{}, s);
    return s;
  };
  struct Case {
    int32_t n, unbounded;
    double high;
  };
  const double unbounded = std::numeric_limits<double>::infinity();
  for (const Case c : {Case{1000, 0, 1074.025}, Case{1000, 24, 1074.025}, Case{1000, 25, unbounded},
                       Case{1000, 1000, unbounded}, Case{41, 1, 139.0}, Case{41, 2, unbounded}}) {
    const bootstrap::Summary s = summary_of(c.n, c.unbounded, true);
    ASSERT_TRUE(s.differential_mpa.has_value());
    EXPECT_EQ(s.differential_mpa->low, 100.0) << c.n << " " << c.unbounded;
    if (std::isinf(c.high)) {
      EXPECT_TRUE(std::isinf(s.differential_mpa->high)) << c.n << " " << c.unbounded;
    } else {
      EXPECT_NEAR(s.differential_mpa->high, c.high, 1e-9) << c.n << " " << c.unbounded;
    }
  }
  // An unbounded interval keeps its lower end: null above it in the JSON, said in words on
  // the console (never "inf").
  const bootstrap::Summary open = summary_of(41, 2, true);
  const auto j = bootstrap::bootstrap_json(open);
  EXPECT_EQ(j["differential_mpa_interval"][0], 100.0);
  EXPECT_TRUE(j["differential_mpa_interval"][1].is_null());
  const std::string text = bootstrap::bootstrap_summary_text(open);
  EXPECT_NE(text.find("Differential stress 95% interval: 100.0 MPa and above, no upper end\n"),
            std::string::npos)
      << text;
  EXPECT_EQ(text.find("inf MPa"), std::string::npos) << text;
  const std::string bounded = bootstrap::bootstrap_summary_text(summary_of(41, 1, true));
  EXPECT_NE(bounded.find("Differential stress 95% interval: 100.0 to 139.0 MPa\n"),
            std::string::npos)
      << bounded;
  // Without the option the upper ends are not looked at.
  const bootstrap::Summary plain = summary_of(1000, 1000, false);
  ASSERT_TRUE(plain.differential_mpa.has_value());
  EXPECT_EQ(plain.differential_mpa->high, 100.0);
}

}  // namespace
