// SPDX-License-Identifier: GPL-3.0-or-later
// The results at the suggested share: which share is taken and which tensor goes with it,
// the text of the tensor and its magnitudes, and the whole computation on the bundled
// example (scan, then the bootstrap at the share around the scan's tensor), which stops
// with the scan when told to and leaves no bootstrap behind.
#include <gtest/gtest.h>

#include <vector>

#include "bootstrap/auto_share.h"
#include "bootstrap/example_input.h"

namespace {

bootstrap::ScanRow row_at(int32_t percent, float threshold, bool valid = true) {
  bootstrap::ScanRow row;
  row.twin_percent = percent;
  row.valid = valid;
  row.tensor.threshold = threshold;
  return row;
}

bootstrap::Scan scan_with(std::vector<bootstrap::ScanRow> rows, int32_t suggested_percent) {
  bootstrap::Scan scan;
  scan.rows = std::move(rows);
  if (suggested_percent > 0) {
    bootstrap::ShareSuggestion s;
    s.twin_percent = suggested_percent;
    s.reason = "the knee";
    scan.suggestion = s;
  }
  return scan;
}

TEST(AutoShare, TheSuggestionIsTakenOnlyFromAWholeScan) {
  struct Case {
    const char* what;
    int32_t suggested;  // 0: no suggestion
    bool cancelled;
    int32_t expected_percent;
    bool expected_suggested;
  };
  const Case cases[] = {
      {"suggested", 90, false, 90, true},
      {"none suggested", 0, false, 80, false},
      {"cancelled scan", 90, true, 80, false},
  };
  for (const Case& c : cases) {
    bootstrap::Scan scan = scan_with({row_at(80, 0.2f), row_at(90, 0.1f)}, c.suggested);
    scan.cancelled = c.cancelled;
    const bootstrap::ChosenShare chosen = bootstrap::choose_share(scan, 80);
    EXPECT_EQ(chosen.twin_percent, c.expected_percent) << c.what;
    EXPECT_EQ(chosen.suggested, c.expected_suggested) << c.what;
    EXPECT_EQ(chosen.reason.find("suggested by the twin-percent scan: the knee") == 0,
              c.expected_suggested)
        << c.what << ": " << chosen.reason;
  }
}

TEST(AutoShare, TheTensorAtTheShareIsTheScansValidRowThere) {
  bootstrap::RunInput input;
  input.twin_percent = 80;
  input.reference.threshold = 0.5f;
  const bootstrap::Scan scan =
      scan_with({row_at(80, 0.2f), row_at(90, 0.1f), row_at(95, 0.05f, false)}, 90);
  struct Case {
    int32_t share;
    bool suggested;
    int32_t expected_percent;
    float expected_threshold;
  };
  const Case cases[] = {
      {90, true, 90, 0.1f},   // the row at the share
      {95, true, 80, 0.5f},   // its row was not inverted: the input as it was
      {90, false, 80, 0.5f},  // the parameter file's share keeps the input's tensor
      {100, true, 80, 0.5f},  // no row at the share
  };
  for (const Case& c : cases) {
    const bootstrap::RunInput at =
        bootstrap::input_at_share(input, scan, {c.share, c.suggested, ""});
    EXPECT_EQ(at.twin_percent, c.expected_percent) << c.share;
    EXPECT_EQ(at.reference.threshold, c.expected_threshold) << c.share;
  }
}

TEST(AutoShare, TheTensorTextGivesTheMagnitudesOrSaysTheyAreUndefined) {
  bootstrap::RunInput at = bootstrap_test::example_input();
  at.twin_percent = 90;
  at.crss_mpa = 10.0;
  at.reference.R = 0.3f;
  at.reference.threshold = 0.125f;
  const std::string text = bootstrap::tensor_at_share_text(at);
  EXPECT_EQ(text.rfind("Tensor at 90 %: sigma1 ", 0), 0u) << text;
  EXPECT_NE(text.find(", R 0.300, SEUIL 0.125\n"
                      "  Differential stress 80.0 MPa, sigma2 - sigma3 24.0 MPa (CRSS 10 MPa)\n"
                      "  Regime "),
            std::string::npos)
      << text;
  at.reference.threshold = 0.0f;
  EXPECT_NE(bootstrap::tensor_at_share_text(at).find(
                "  Differential stress undefined: SEUIL is not positive (CRSS 10 MPa)\n"),
            std::string::npos);
}

// The example counting 80 % of its twins: it fits every twin, so the scan suggests 100 %.
bootstrap::RunInput example_at_80() {
  bootstrap::RunInput input = bootstrap_test::example_input();
  input.twin_percent = 80;
  return input;
}

TEST(AutoShare, TheBootstrapResamplesAtTheSuggestedShareAroundTheScansTensor) {
  const bootstrap::RunInput input = example_at_80();
  bootstrap::Options options;
  options.resamples = 12;
  options.jobs = 2;
  options.influence = false;
  std::vector<bootstrap::AutoStage> stages;
  const bootstrap::AutoShare a = bootstrap::results_at_suggested_share(
      input, {80, 100, 10}, options, [&](bootstrap::AutoStage stage, int32_t, int32_t) {
        if (stages.empty() || stages.back() != stage) stages.push_back(stage);
        return true;
      });
  ASSERT_FALSE(a.cancelled);
  ASSERT_TRUE(a.chosen.suggested);
  EXPECT_EQ(a.chosen.twin_percent, 100);
  EXPECT_EQ(stages, (std::vector{bootstrap::AutoStage::scan, bootstrap::AutoStage::bootstrap}));
  const bootstrap::ScanRow& last = a.scan.rows.back();
  ASSERT_EQ(last.twin_percent, 100);
  EXPECT_EQ(a.at_share.twin_percent, 100);
  EXPECT_EQ(a.at_share.reference.threshold, last.tensor.threshold);
  EXPECT_EQ(a.summary.resamples, 12);
  EXPECT_EQ(a.summary.centre.threshold, last.tensor.threshold);
  // The very resamples of the input at the share, not those of the parameter file's share.
  const bootstrap::Summary direct = bootstrap::run_bootstrap(a.at_share, options);
  bootstrap::RunInput file_share = a.at_share;
  file_share.twin_percent = input.twin_percent;
  const bootstrap::Summary at_file_share = bootstrap::run_bootstrap(file_share, options);
  EXPECT_EQ(a.summary.threshold.low, direct.threshold.low);
  EXPECT_EQ(a.summary.threshold.high, direct.threshold.high);
  EXPECT_NE(a.summary.threshold.low, at_file_share.threshold.low);

  const std::string text = bootstrap::auto_share_text(a, input.twin_percent);
  EXPECT_EQ(text.rfind("Twins counted", 0), 0u) << text;
  EXPECT_NE(text.find("Twins counted beyond the report: 100 % (suggested by the scan); the "
                      "report counts 80 %\n\nTensor at 100 %: sigma1 "),
            std::string::npos)
      << text;
  EXPECT_NE(text.find("Bootstrap over grains: 12 of 12 resamples"), std::string::npos) << text;
}

TEST(AutoShare, StoppedDuringTheScanItMakesNoBootstrap) {
  bootstrap::Options options;
  options.resamples = 12;
  options.jobs = 1;
  bool bootstrap_told = false;
  const bootstrap::AutoShare a = bootstrap::results_at_suggested_share(
      example_at_80(), {80, 100, 10}, options, [&](bootstrap::AutoStage stage, int32_t, int32_t) {
        bootstrap_told = bootstrap_told || stage == bootstrap::AutoStage::bootstrap;
        return false;
      });
  EXPECT_TRUE(a.cancelled);
  EXPECT_FALSE(bootstrap_told);
  EXPECT_EQ(a.summary.resamples, 0);
}

}  // namespace
