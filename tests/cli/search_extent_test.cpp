// SPDX-License-Identifier: GPL-3.0-or-later
// The extent of the tensors the data cannot tell apart, as the search block writes it.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include <nlohmann/json.hpp>

#include "cli/search_check.h"
#include "cli/term_run.h"
#include "gemino/io_files.h"

namespace {

namespace fs = std::filesystem;

struct StressCase {
  float threshold_min;
  float threshold_max;
  int32_t tensors;
  std::optional<double> low;  // none: the differential stress is null
  std::optional<double> high;
};

TEST(SearchExtent, DifferentialStressRangeOnlyWhenEveryThresholdIsPositive) {
  const StressCase cases[] = {
      {0.25f, 0.5f, 2, 20.0, 40.0},  // the largest threshold gives the smallest stress
      {0.5f, 0.5f, 1, 20.0, 20.0},
      {0.0f, 0.5f, 2, std::nullopt, std::nullopt},
      {-0.125f, 0.5f, 3, std::nullopt, std::nullopt},
      {-0.5f, -0.25f, 2, std::nullopt, std::nullopt},
      {0.25f, 0.5f, 0, std::nullopt, std::nullopt},  // no set
  };
  for (const StressCase& c : cases) {
    gemino::SetExtent e;
    e.tensors = c.tensors;
    e.threshold_min = c.threshold_min;
    e.threshold_max = c.threshold_max;
    const nlohmann::ordered_json j = cli::extent_json(e, 10.0);
    EXPECT_EQ(j["crss_mpa"].get<double>(), 10.0);
    const nlohmann::ordered_json& d = j["differential_stress_mpa"];
    if (!c.low) {
      EXPECT_TRUE(d.is_null()) << c.threshold_min;
      continue;
    }
    ASSERT_TRUE(d.is_object()) << c.threshold_min;
    EXPECT_EQ(d["min"].get<double>(), *c.low);
    EXPECT_EQ(d["max"].get<double>(), *c.high);
  }
}

// A run with JSON gives the set of the bundled example in its search block, for the CRSS
// of the run.
TEST(SearchExtent, RunWritesTheSetOfItsData) {
  gemino_test::ScratchDir dir;
  fs::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  const cli_test::Outcome run =
      cli_test::term(dir, "params.txt data.txt report.txt --json r.json --crss 20");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const nlohmann::json j = nlohmann::json::parse(gemino_test::slurp(dir.file("r.json")));
  const nlohmann::json& set = j["search"]["indistinct"];
  EXPECT_EQ(set["tensors"].get<int>(), j["search"]["restarts_at_best"].get<int>());
  EXPECT_GE(set["sigma1_angle_deg"].get<double>(), 0.0);
  EXPECT_LT(set["sigma1_angle_deg"].get<double>(), 3.0);
  EXPECT_LT(set["sigma3_angle_deg"].get<double>(), 3.0);
  EXPECT_LE(set["R"]["min"].get<float>(), set["R"]["max"].get<float>());
  EXPECT_EQ(set["crss_mpa"].get<double>(), 20.0);
  const double low = set["differential_stress_mpa"]["min"].get<double>();
  const double high = set["differential_stress_mpa"]["max"].get<double>();
  EXPECT_DOUBLE_EQ(low, 20.0 / static_cast<double>(set["threshold"]["max"].get<float>()));
  EXPECT_LE(low, high);
}

}  // namespace
