// SPDX-License-Identifier: GPL-3.0-or-later
// The result model against the report of the same run: its axes, R, objective, threshold,
// listing and ranking, formatted as the report formats them, give the report's lines.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "results/json_export.h"
#include "results/magnitudes.h"
#include "results/result_model.h"
#include "results/round_trip.h"

namespace {

using results_test::Lines;

struct Case {
  const char* name;
  std::string params_file;  // copied, or empty for `params`
  Lines params;
  std::string data_file;
};

Lines example_params(const Lines& run) {
  Lines p = {"ROUND TRIP", "", "", "", "", "", "", "", "", ""};
  p.insert(p.end(), run.begin(), run.end());
  return p;
}

const std::string example_data = GEMINO_EXAMPLES "/data.txt";

std::vector<Case> cases() {
  return {
      {"bundled_example", GEMINO_EXAMPLES "/params.txt", {}, example_data},
      {"recovery",
       GEMINO_TEST_DATA "/recovery-params.txt",
       {},
       GEMINO_TEST_DATA "/recovery-data.txt"},
      // R above 1 and below 0 at the start: the report re-expresses the tensor.
      {"start_r_above_one", "", example_params({"5 3 90 11 150 1 0", "0 0", "120 20 10 30 1.8"}),
       example_data},
      {"start_r_below_zero", "", example_params({"5 2 75 3 120 1 0", "0 0", "300 5 40 70 -0.4"}),
       example_data},
      // A selection that removes planes, and a run with few search steps.
      {"removed_planes", "", example_params({"1 15 65 321 80 0 0", "1 4", "  1 301 602   7"}),
       example_data},
  };
}

std::vector<int32_t> integers_of(const Lines& lines) {
  std::vector<int32_t> out;
  for (const std::string& l : lines) {
    std::istringstream in(l);
    for (int32_t v; in >> v;) out.push_back(v);
  }
  return out;
}

class ResultModel : public testing::TestWithParam<Case> {};

TEST_P(ResultModel, FormatsAsTheReportOfItsRun) {
  const Case& c = GetParam();
  gemino_test::ScratchDir dir;
  if (c.params_file.empty()) {
    gemino_test::write_lines(dir.file("params.txt"), c.params);
  } else {
    std::filesystem::copy_file(c.params_file, dir.file("params.txt"));
  }
  std::filesystem::copy_file(c.data_file, dir.file("data.txt"));
  ASSERT_EQ(results_test::run_in(dir), 0);
  ASSERT_TRUE(results::has_result(gemino::shared_state()));
  const results::Result r = results::build_result(gemino::shared_state());
  const Lines report = gemino_test::read_records(dir.file("report.txt"));

  std::vector<std::size_t> blocks;
  for (std::size_t i = 0; i < report.size(); ++i) {
    if (report[i].rfind(std::string(19, ' ') + "SIGMA 1", 0) == 0) blocks.push_back(i);
  }
  ASSERT_EQ(blocks.size(), 2u);
  const std::string stars = "*****";

  // The best starting tensor: its axes and values, and as many numbers listed as its
  // threshold index (the listing itself is the ranking of a candidate the model does not keep).
  const Lines start_got = results_test::non_blank(report, blocks[0], stars);
  const Lines start_want = results_test::tensor_block(r.start, {});
  ASSERT_GE(start_got.size(), 5u);
  EXPECT_EQ(Lines(start_got.begin(), start_got.begin() + 4),
            Lines(start_want.begin(), start_want.begin() + 4));
  EXPECT_EQ(integers_of(Lines(start_got.begin() + 4, start_got.end() - 1)).size(),
            static_cast<std::size_t>(r.start.threshold_index));

  // The optimised tensor with its listing down to the threshold.
  std::vector<int32_t> ranked = results_test::ranked_numbers(r);
  ASSERT_LE(r.result.threshold_index, static_cast<int32_t>(ranked.size()));
  ranked.resize(static_cast<std::size_t>(r.result.threshold_index));
  EXPECT_EQ(results_test::non_blank(report, blocks[1], stars),
            results_test::tensor_block(r.result, ranked));

  // The whole ranking with every TAU, then SEUIL.
  std::size_t after = blocks[1];
  while (report[after].find(stars) == std::string::npos) ++after;
  EXPECT_EQ(results_test::non_blank(report, after + 1, "SEUIL="), results_test::ranking_lines(r));

  // The counts of the data listing and the classes.
  EXPECT_EQ(r.counts.twinned + r.counts.untwinned, r.counts.planes);
  EXPECT_EQ(r.counts.counted + r.counts.untwinned_violating, r.result.threshold_index);
  EXPECT_EQ(r.parameters.text[0], report[0].substr(1, r.parameters.text[0].size()));

  // The magnitudes of every run: differential x SEUIL = CRSS, a trace-free deviatoric
  // tensor and the ratio R of its principal values.
  ASSERT_GT(r.result.threshold, 0.0f);
  for (const double crss : {10.0, 37.5}) {
    const results::StressMagnitudes m = results::stress_magnitudes(r, crss);
    ASSERT_TRUE(m.defined);
    EXPECT_NEAR(m.differential_mpa * r.result.threshold, crss, 1e-9 * crss);
    const double* s = m.deviatoric_mpa;
    EXPECT_NEAR(s[0] + s[1] + s[2], 0.0, 1e-9 * m.differential_mpa);
    EXPECT_NEAR((s[1] - s[2]) / (s[0] - s[2]), r.result.R, 1e-9);
    const auto& d = m.deviatoric_tensor_mpa;
    EXPECT_NEAR(d[0][0] + d[1][1] + d[2][2], 0.0, 1e-5 * m.differential_mpa);
    if (m.has_upper) {
      EXPECT_GE(m.differential_high_mpa, m.differential_low_mpa);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Runs, ResultModel, testing::ValuesIn(cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ResultModel, BundledExampleGrainsAndPlanes) {
  gemino_test::ScratchDir dir;
  std::filesystem::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  std::filesystem::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  ASSERT_EQ(results_test::run_in(dir), 0);
  const results::Result r = results::build_result(gemino::shared_state());
  // 60 grains in 3 blocks, three planes each; the first plane is untwinned, of grain 1.
  EXPECT_EQ(r.counts.grains, 60);
  EXPECT_EQ(r.counts.blocks, 3);
  ASSERT_EQ(r.planes.size(), 180u);
  EXPECT_EQ(r.planes[0].number, 1);
  EXPECT_EQ(r.planes[1].number, 301);
  EXPECT_EQ(r.planes[1].grain, 1);
  EXPECT_EQ(r.planes[60].grain, 101);
  EXPECT_EQ(r.planes[60].block, 2);
  EXPECT_FALSE(r.planes[0].twinned);
  // The first c-axis record: 268/37, stored pointing upward.
  EXPECT_NEAR(r.grains[0].c_axis.trend, 268.0, 0.6);
  EXPECT_NEAR(r.grains[0].c_axis.plunge, 37.0, 0.6);
  for (const results::Plane& p : r.planes) {
    EXPECT_GE(p.pole.plunge, 0.0f);
    EXPECT_LE(p.pole.plunge, 90.0f);
  }
}

TEST(ResultModel, ObjectiveInTheUnitsOfTheReportedTensor) {
  // One starting tensor, R = 1.8 from the record: the report renames sigma1 and sigma2,
  // R becomes 1/1.8 and sigma1 - sigma3 1.8 times the old one, so the objective of the
  // tensor as reported is 1/1.8 times the report's value. The optimised tensor ends inside
  // [0, 1] without renaming, and its two values agree.
  gemino_test::ScratchDir dir;
  gemino_test::write_lines(dir.file("params.txt"),
                           example_params({"5 1 100 11 40 1 0", "0 0", "120 20 10 30 1.8"}));
  std::filesystem::copy_file(example_data, dir.file("data.txt"));
  ASSERT_EQ(results_test::run_in(dir), 0);
  const results::Result r = results::build_result(gemino::shared_state());
  ASSERT_GT(r.start.objective, 0.5f);
  EXPECT_NEAR(r.start.R, 1.0f / 1.8f, 1e-6f);
  EXPECT_NEAR(r.start.objective_reported_units, r.start.objective / 1.8f,
              1e-5f * r.start.objective);
  EXPECT_EQ(r.result.objective_reported_units, r.result.objective);
  const nlohmann::ordered_json j = results::to_json(r, results::stress_magnitudes(r, 10.0));
  EXPECT_EQ(j["start"]["objective"], results::float_value(r.start.objective));
  EXPECT_EQ(j["start"]["objective_reported_units"],
            results::float_value(r.start.objective_reported_units));
}

TEST(ResultModel, FailedRunHasNoResult) {
  gemino_test::ScratchDir dir;
  gemino_test::write_lines(dir.file("params.txt"), {"TOO SHORT"});
  gemino_test::write_lines(dir.file("data.txt"), {});
  EXPECT_EQ(results_test::run_in(dir), 2);
  EXPECT_FALSE(results::has_result(gemino::shared_state()));
}

}  // namespace
