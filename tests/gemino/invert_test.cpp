// SPDX-License-Identifier: GPL-3.0-or-later
// The inversion core against the run: the same tensors bit for bit, on the bundled
// example, the recovery data and parameter variants that take every path of the run
// (start records, R re-expressed from above 1 and below 0, a lower share of twins).
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "gemino/invert.h"
#include "gemino/invert_check.h"

namespace {

using gemino_test::Lines;

const char* const example_params = GEMINO_EXAMPLES "/params.txt";
const char* const example_data = GEMINO_EXAMPLES "/data.txt";

TEST(InversionCore, GivesTheRunsTensorsOnTheBundledInputs) {
  gemino_test::expect_core_matches_run(example_params, example_data);
  gemino_test::expect_core_matches_run(GEMINO_TEST_DATA "/recovery-params.txt",
                                       GEMINO_TEST_DATA "/recovery-data.txt");
}

TEST(InversionCore, GivesTheRunsTensorsForEveryStartMode) {
  const Lines text(10, "VARIANT");
  const std::vector<Lines> variants = {
      {"2 30 80 11 300 1 0", "0 0", "40 10 306 21 0.3"},
      {"3 30 100 12 300 1 0", "0 0", "40 10 306 21 0.3"},
      {"4 20 90 13 300 1 0", "0 0", "40 10 306 21 0.3"},
      {"5 5 100 14 300 1 0", "0 0", "40 10 306 21 2.5"},   // R above 1
      {"5 5 100 15 300 1 0", "0 0", "40 10 306 21 -0.8"},  // R below 0
      {"6 5 70 16 200 1 0", "0 0", "0 0 0 0 0.5"},
      {"7 3 60 17 150 1 0", "0 0", "0 0 0 0 0.1", "10 20 200 30 0.7", "0 0 0 0 1.4"},
      {"1 50 70 0 400 1 0", "2 3", "101 102 203"},
  };
  for (const Lines& variant : variants) {
    gemino_test::ScratchDir dir;
    Lines params = text;
    params.insert(params.end(), variant.begin(), variant.end());
    gemino_test::write_lines(dir.file("variant.txt"), params);
    gemino_test::expect_core_matches_run(dir.file("variant.txt"), example_data);
  }
}

TEST(InversionCore, ThreadsInvertingAtOnceGetTheSameTensor) {
  gemino_test::ScratchDir dir;
  ASSERT_EQ(gemino_test::run_driver_in_process(dir, example_params, example_data), 0);
  const std::vector<gemino::PlaneRow> rows = gemino::rows_of(gemino::shared_state());
  gemino::InversionOptions options;
  options.trial_count = 50;
  options.seed = 99;
  options.iteration_limit = 300;
  const gemino::InversionResult alone = gemino::invert(rows, options);
  std::vector<gemino::InversionResult> together(4);
  {
    std::vector<std::jthread> threads;
    for (auto& out : together) {
      threads.emplace_back([&] { out = gemino::invert(rows, options); });
    }
  }
  for (const auto& out : together)
    gemino_test::expect_same_tensor(alone.final.tensor, out.final.tensor);
}

// Rows put into a state read back as they went in; beyond what the state holds, none go in.
TEST(InversionCore, RowsPutIntoAStateReadBackTheSame) {
  gemino_test::ScratchDir dir;
  ASSERT_EQ(gemino_test::run_driver_in_process(dir, example_params, example_data), 0);
  const std::vector<gemino::PlaneRow> rows = gemino::rows_of(gemino::shared_state());
  ASSERT_EQ(rows.size(), 180u);
  const auto s = std::make_unique<gemino::State>();
  gemino::reset_state(*s);
  gemino::put_rows(rows, *s);
  const std::vector<gemino::PlaneRow> back = gemino::rows_of(*s);
  ASSERT_EQ(back.size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(std::memcmp(&back[i], &rows[i], sizeof rows[i]), 0) << i;
  }
  std::vector<gemino::PlaneRow> many;
  while (many.size() <= static_cast<std::size_t>(gemino::max_rows)) {
    many.insert(many.end(), rows.begin(), rows.end());
  }
  gemino::put_rows(many, *s);
  EXPECT_EQ(s->data_count, gemino::max_rows);
  EXPECT_EQ(s->data_number[gemino::max_rows - 1], many[gemino::max_rows - 1].data_number);
}

TEST(InversionCore, EndsWhenAskedOrWhenRecordsRunShort) {
  const std::vector<gemino::PlaneRow> rows(3, gemino::PlaneRow{{0, 0, 1}, {1, 0, 0}, 1, 1});
  gemino::InversionOptions options;
  options.trial_count = 10;
  options.iteration_limit = 100;
  int32_t calls = 0;
  options.progress = [&](gemino::ProgressStage stage, int32_t, int32_t) {
    ++calls;
    return stage == gemino::ProgressStage::starting_tensors;
  };
  EXPECT_EQ(gemino::invert(rows, options).status, gemino::InversionStatus::cancelled);
  EXPECT_EQ(calls, 11);
  options.progress = {};
  options.start_mode = 7;
  options.start_records = {gemino::StartRecord{}};
  EXPECT_EQ(gemino::invert(rows, options).status, gemino::InversionStatus::records_missing);
  const std::vector<gemino::PlaneRow> too_many(gemino::max_rows + 1, rows[0]);
  EXPECT_EQ(gemino::invert(too_many, options).status, gemino::InversionStatus::too_many_rows);
}

}  // namespace
