// SPDX-License-Identifier: GPL-3.0-or-later
// Which grains count as influential: only those whose leave-out search converged to a
// tensor that fits the other rows better than the full-data tensor does; and the scan
// table's count of untwinned planes above the threshold.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "bootstrap/bootstrap.h"
#include "bootstrap/confidence_text.h"
#include "bootstrap/synthetic.h"
#include "bootstrap/twin_scan.h"

namespace {

constexpr float tolerance = 1.0E-4f;

gemino::ConvergedResult leave_out(float candidate, float best, int32_t at_best) {
  gemino::ConvergedResult r;
  r.best.objective_reported = best;
  r.best_restart = 0;
  r.restarts = 2;
  r.restarts_at_best = at_best;
  r.candidate_objectives = {candidate};
  return r;
}

TEST(Influence, OnlyAConvergedBetterFitWithoutTheGrainCounts) {
  struct Case {
    const char* what;
    gemino::ConvergedResult r;
    bool influential;
  };
  std::vector<Case> cases = {
      {"clearly better without the grain", leave_out(0.5f, 0.25f, 2), true},
      {"better by just over the tolerance", leave_out(std::nextafter(tolerance, 1.0f), 0.0f, 2),
       true},
      {"better by the tolerance exactly", leave_out(tolerance, 0.0f, 2), false},
      {"as good: a move between equal tensors", leave_out(0.25f, 0.25f, 2), false},
      {"one restart at the best: not converged", leave_out(0.5f, 0.25f, 1), false},
      {"no candidate scored", leave_out(0.5f, 0.25f, 2), false},
      {"the full-data tensor is the answer", leave_out(0.5f, 0.25f, 2), false},
      {"cancelled", leave_out(0.5f, 0.25f, 2), false},
  };
  cases[5].r.candidate_objectives.clear();
  cases[6].r.best_candidate = 0;
  cases[6].r.best_restart = -1;
  cases[7].r.status = gemino::InversionStatus::cancelled;
  for (const Case& c : cases) {
    EXPECT_EQ(bootstrap::is_influential(c.r, tolerance), c.influential) << c.what;
  }
}

bootstrap::SyntheticSet noise_free_set() {
  bootstrap::SyntheticRecipe recipe;
  recipe.seed = 11;
  recipe.grains = 20;
  recipe.noise_deg = 0.0;
  recipe.flipped_share = 0.0;
  recipe.twin_percent = 100;
  recipe.trial_count = 60;
  recipe.iteration_limit = 300;
  return bootstrap::make_synthetic(recipe);
}

bootstrap::Summary leave_outs(const bootstrap::RunInput& input) {
  bootstrap::Options options;
  options.resamples = 0;
  options.jobs = 2;
  return bootstrap::run_bootstrap(input, options);
}

TEST(Influence, NoGrainMattersWhenTheFullDataTensorFitsEveryRow) {
  const auto set = noise_free_set();
  ASSERT_LE(set.input.reference.objective_reported_units, tolerance);
  const auto s = leave_outs(set.input);
  EXPECT_EQ(s.left_out, 20);
  EXPECT_TRUE(s.influence.empty());
  const auto j = bootstrap::bootstrap_json(s);
  EXPECT_TRUE(j["influence"].empty());
  EXPECT_EQ(j["left_out"], 20);
  EXPECT_EQ(bootstrap::bootstrap_summary_text(s).find("Most influential"), std::string::npos);
}

TEST(Influence, AFullDataTensorThatFitsWorseMakesGrainsInfluential) {
  // The same rows against a reference turned away from the tensor they came from: leaving
  // out a grain, the search finds a tensor that fits the rest better than that reference.
  auto input = noise_free_set().input;
  input.reference.params[0] += 0.6f;
  const auto s = leave_outs(input);
  ASSERT_FALSE(s.influence.empty());
  EXPECT_LE(static_cast<int32_t>(s.influence.size()), s.left_out - s.left_out_unconverged);
  for (std::size_t k = 0; k < s.influence.size(); ++k) {
    EXPECT_GT(s.influence[k].objective_gain, tolerance) << s.influence[k].grain;
    if (k > 0) {
      EXPECT_GE(bootstrap::influence_size(s.influence[k - 1]),
                bootstrap::influence_size(s.influence[k]));
    }
  }
  const std::string text = bootstrap::bootstrap_summary_text(s);
  EXPECT_NE(
      text.find("Grains left out: 20, " + std::to_string(s.influence.size()) + " influential"),
      std::string::npos)
      << text;
}

TEST(ScanTable, ShowsTheUntwinnedPlanesAboveTheThreshold) {
  bootstrap::Scan scan;
  bootstrap::ScanRow row;
  row.twin_percent = 90;
  row.valid = true;
  row.tensor.sigma1.line = {40.0f, 10.0f};
  row.tensor.sigma3.line = {306.0f, 22.0f};
  row.tensor.R = 0.25f;
  row.tensor.threshold = 0.125f;
  row.tensor.objective_reported_units = 0.5f;
  row.differential_mpa = 80.0;
  row.incompatible_twins = 6;
  row.untwinned_above = 13;
  row.sigma1_to_run_deg = 1.5;
  row.sigma3_to_run_deg = 2.5;
  scan.rows.push_back(row);
  EXPECT_EQ(bootstrap::scan_table_text(scan),
            "Twins counted  sigma1    sigma3    R      SEUIL   Diff.MPa  Objective  Untw.above  "
            "s1 angle  s3 angle\n"
            "      90 %     040/10    306/22    0.250  0.125      80.0       0.50          13  "
            "     1.5       2.5\n");
  const auto j = bootstrap::scan_json(scan, 100);
  EXPECT_EQ(j["rows"][0]["untwinned_above_threshold"], 13);
  EXPECT_EQ(j["rows"][0]["incompatible_twins"], 6);
}

}  // namespace
