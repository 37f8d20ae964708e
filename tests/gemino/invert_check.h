// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the driver in the test process on a parameter and a data file, then the inversion
// core on the rows and parameters the run read, and checks that both give the same
// tensors, threshold, ranking and generator bit for bit.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gemino/driver_in_process.h"
#include "gemino/invert.h"

namespace gemino_test {

// The starting-state records of a parameter file: the lines after the text, the run
// parameters, the selection line and its list, five values to a line.
inline std::vector<gemino::StartRecord> start_records_of(const std::string& path) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::size_t at = 12;
  if (lines.size() >= 12) {
    std::istringstream selection(lines[11]);
    int32_t mode = 0, count = 0;
    selection >> mode >> count;
    if (mode != 0 && count > 0) at += static_cast<std::size_t>((count + 17) / 18);
  }
  std::vector<gemino::StartRecord> records;
  for (; at < lines.size(); ++at) {
    std::string text = lines[at];
    for (char& c : text) c = c == ',' ? ' ' : c;
    std::istringstream fields(text);
    gemino::StartRecord r;
    if (fields >> r.d1 >> r.q1 >> r.d3 >> r.q3 >> r.r) records.push_back(r);
  }
  return records;
}

inline void expect_same_tensor(const gemino::TensorRecord& run, const gemino::TensorRecord& core) {
  EXPECT_EQ(std::memcmp(run.params, core.params, sizeof run.params), 0);
  EXPECT_EQ(std::memcmp(&run.objective, &core.objective, sizeof(float)), 0);
  EXPECT_EQ(std::memcmp(&run.threshold, &core.threshold, sizeof(float)), 0);
  EXPECT_EQ(run.threshold_index, core.threshold_index);
}

inline void expect_core_matches_run(const std::string& params, const std::string& data) {
  SCOPED_TRACE(params);
  ScratchDir dir;
  ASSERT_EQ(run_driver_in_process(dir, params, data), 0);
  const gemino::State& s = gemino::shared_state();
  ASSERT_TRUE(s.record.completed);
  gemino::InversionOptions options;
  options.start_mode = s.start_mode;
  options.trial_count = s.trial_count;
  options.twin_percent = s.twin_percent;
  options.seed = s.record.seed;
  options.iteration_limit = s.iteration_limit;
  options.start_records = start_records_of(params);
  const auto core_state = std::make_unique<gemino::State>();
  const gemino::InversionResult core = gemino::invert(gemino::rows_of(s), options, *core_state);
  ASSERT_EQ(core.status, gemino::InversionStatus::done);
  expect_same_tensor(s.record.start, core.start.tensor);
  expect_same_tensor(s.record.final, core.final.tensor);
  EXPECT_EQ(std::memcmp(s.axis_matrix, core.final.axes, sizeof s.axis_matrix), 0);
  EXPECT_EQ(core.twin_limit, s.twin_limit);
  EXPECT_EQ(core.seed_after, s.seed);
  EXPECT_EQ(core_state->eval_count, s.eval_count);
  const std::size_t n = static_cast<std::size_t>(s.data_count);
  EXPECT_EQ(std::memcmp(s.shear_list, core_state->shear_list, n * sizeof(float)), 0);
  EXPECT_EQ(std::memcmp(s.shear_order, core_state->shear_order, n * sizeof(int32_t)), 0);
  EXPECT_EQ(std::memcmp(s.best_index_list, core_state->best_index_list, n * sizeof(int32_t)), 0);
}

}  // namespace gemino_test
