// SPDX-License-Identifier: GPL-3.0-or-later
// The bootstrap on converged searches: a resample's answer never fits it worse than the
// full-data tensor does, the restarts of a resample depend on its own stream alone, and
// the cones, the leave-outs' candidate and the scan's angles are measured from the
// converged answer of the full data when it fits better than the run's tensor.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bootstrap/bootstrap.h"
#include "bootstrap/confidence_text.h"
#include "bootstrap/converged_reference.h"
#include "bootstrap/example_input.h"
#include "bootstrap/twin_scan.h"
#include "gemino/driver_in_process.h"

namespace {

using bootstrap::RunInput;

constexpr float tolerance = 1.0E-4f;

// The bundled data searched with 2 starting tensors and 12 steps at 80 % of twins: the
// run's tensor stops well short of the best, and so do many single restarts.
const RunInput& short_search_input() {
  static const RunInput input = [] {
    gemino_test::ScratchDir source;
    gemino_test::ScratchDir dir;
    gemino_test::write_lines(source.file("params.txt"), {"SHORT SEARCH", "", "", "", "", "", "", "",
                                                         "", "", "1 2 80 11 12 1 0", "0 0"});
    EXPECT_EQ(gemino_test::run_driver_in_process(dir, source.file("params.txt"),
                                                 GEMINO_EXAMPLES "/data.txt"),
              0);
    return bootstrap::run_input(gemino::shared_state());
  }();
  return input;
}

// The same, centred on the converged answer of the full data: a good candidate among weak
// restarts.
const RunInput& centred_short_input() {
  static const RunInput input = bootstrap::with_converged_reference(
      short_search_input(), bootstrap::search_full_data(short_search_input()), tolerance);
  return input;
}

std::array<float, 4> params_of(const results::TensorResult& t) {
  return {t.params[0], t.params[1], t.params[2], t.params[3]};
}

TEST(ConvergedBootstrap, AResamplesAnswerNeverFitsItWorseThanTheFullDataTensor) {
  const RunInput& in = centred_short_input();
  bootstrap::Options options;
  options.resamples = 24;
  options.seed = 3;
  options.jobs = 2;
  options.influence = false;
  // The search's own answer: widening it may move it off the full-data tensor to one that
  // fits the resample better still (the widened answers are tested on their own).
  options.widest_margin = false;
  const bootstrap::Summary s = bootstrap::run_bootstrap(in, options);
  const auto grains = bootstrap::grains_of(in.row_record);
  std::vector<gemino::PlaneRow> rows;
  const auto state = std::make_unique<gemino::State>();
  int32_t at_candidate = 0;
  int32_t strictly_better = 0;
  for (int32_t index = 0; index < options.resamples; ++index) {
    const bootstrap::Sample& sample = s.samples[static_cast<std::size_t>(index)];
    ASSERT_TRUE(sample.valid);
    // The resample's rows again, and the full-data tensor scored on them.
    bootstrap::TaskRandom random(options.seed, static_cast<uint64_t>(index));
    bootstrap::resample_rows(in, grains, random, rows);
    gemino::InversionOptions load;
    load.trial_count = 1;
    load.iteration_limit = 1;
    load.twin_percent = in.twin_percent;
    load.seed = 1;
    ASSERT_EQ(gemino::invert(rows, load, *state).status, gemino::InversionStatus::done);
    const float full_data =
        gemino::score_tensor(*state, params_of(in.reference)).objective_reported;
    EXPECT_LE(sample.objective, full_data) << index;
    at_candidate += sample.at_candidate ? 1 : 0;
    strictly_better += sample.objective < full_data ? 1 : 0;
    if (sample.at_candidate) {
      EXPECT_EQ(sample.objective, full_data) << index;
      EXPECT_EQ(sample.R, in.reference.params[3]) << index;
    }
  }
  // With so short a search the full-data tensor wins some resamples, and the restarts
  // others: both ways of ending are exercised.
  EXPECT_GT(at_candidate, 0);
  EXPECT_GT(strictly_better, 0);
  EXPECT_EQ(s.at_candidate, at_candidate);
  const auto j = bootstrap::bootstrap_json(s);
  EXPECT_EQ(j["at_full_data_tensor"], at_candidate);
  EXPECT_EQ(j["unconverged"], s.unconverged);
  EXPECT_NE(bootstrap::bootstrap_summary_text(s).find(
                "  " + std::to_string(at_candidate) + " resamples ended at the full-data tensor, " +
                std::to_string(s.unconverged) + " searches not converged\n"),
            std::string::npos);
}

TEST(ConvergedBootstrap, SameResamplesForAnyNumberOfWorkers) {
  // Short searches, so that the restarts of a resample differ from seed to seed.
  const RunInput& in = short_search_input();
  bootstrap::Options options;
  options.resamples = 10;
  options.seed = 8;
  options.influence = false;
  std::vector<bootstrap::Summary> runs;
  for (const int32_t jobs : {1, 2, 3}) {
    options.jobs = jobs;
    runs.push_back(bootstrap::run_bootstrap(in, options));
  }
  for (std::size_t r = 1; r < runs.size(); ++r) {
    for (std::size_t k = 0; k < 10; ++k) {
      const bootstrap::Sample& a = runs[0].samples[k];
      const bootstrap::Sample& b = runs[r].samples[k];
      EXPECT_EQ(std::memcmp(a.axes, b.axes, sizeof a.axes), 0) << r << " " << k;
      EXPECT_EQ(a.objective, b.objective) << r << " " << k;
      EXPECT_EQ(a.at_candidate, b.at_candidate) << r << " " << k;
      EXPECT_EQ(a.converged, b.converged) << r << " " << k;
    }
    EXPECT_EQ(runs[0].cone95_deg, runs[r].cone95_deg);
    EXPECT_EQ(runs[0].unconverged, runs[r].unconverged);
  }
}

gemino::ConvergedResult search_reaching(float objective) {
  gemino::ConvergedResult r;
  r.best.objective_reported = objective;
  r.best.tensor.params[0] = 1.0f;
  r.best.tensor.params[3] = 0.25f;
  r.best.axes[0][2] = -1.0f;
  r.best.axes[1][0] = 1.0f;
  r.best.axes[2][1] = 1.0f;
  r.best_restart = 0;
  return r;
}

TEST(ConvergedReference, ReplacesTheRunsTensorOnlyWhenClearlyBetter) {
  struct Case {
    const char* what;
    float run, best;
    bool cancelled;
    bool replaced;
  };
  const Case cases[] = {
      {"better by far", 0.5f, 0.25f, false, true},
      {"better by just over the tolerance", std::nextafter(tolerance, 1.0f), 0.0f, false, true},
      {"better by the tolerance exactly", tolerance, 0.0f, false, false},
      {"as good", 0.25f, 0.25f, false, false},
      {"worse: the run's tensor is the best found", 0.25f, 0.5f, false, false},
      {"a search that did not end", 0.5f, 0.25f, true, false},
  };
  for (const Case& c : cases) {
    RunInput in;
    in.reference.objective_reported_units = c.run;
    in.reference.params[0] = 2.0f;
    gemino::ConvergedResult search = search_reaching(c.best);
    if (c.cancelled) search.status = gemino::InversionStatus::cancelled;
    EXPECT_EQ(bootstrap::finds_better_reference(in, search, tolerance), c.replaced) << c.what;
    const RunInput out = bootstrap::with_converged_reference(in, search, tolerance);
    EXPECT_EQ(out.reference_converged, c.replaced) << c.what;
    EXPECT_EQ(out.reference.params[0], c.replaced ? 1.0f : 2.0f) << c.what;
    EXPECT_EQ(out.reference.objective_reported_units, c.replaced ? c.best : c.run) << c.what;
  }
}

TEST(ConvergedReference, ConesLeaveOutsAndScanAreMeasuredFromTheConvergedAnswer) {
  const RunInput& run = short_search_input();
  const gemino::ConvergedResult search = bootstrap::search_full_data(run);
  ASSERT_EQ(search.status, gemino::InversionStatus::done);
  // The search had the run's tensor as its candidate and found better.
  ASSERT_EQ(search.candidate_objectives.size(), 1u);
  EXPECT_EQ(search.candidate_objectives[0], run.reference.objective_reported_units);
  ASSERT_LT(search.best.objective_reported, run.reference.objective_reported_units - tolerance);
  const RunInput in = bootstrap::with_converged_reference(run, search, tolerance);
  ASSERT_TRUE(in.reference_converged);
  EXPECT_EQ(std::memcmp(in.reference.params, search.best.tensor.params, sizeof(float) * 4), 0);
  EXPECT_EQ(in.rows.size(), run.rows.size());
  EXPECT_GT(bootstrap::axis_angle_deg(in.reference.sigma1.vector, run.reference.sigma1.vector),
            1.0);

  bootstrap::Options options;
  options.resamples = 16;
  options.seed = 2;
  options.jobs = 2;
  const bootstrap::Summary s = bootstrap::run_bootstrap(in, options);
  EXPECT_TRUE(s.centre_converged);
  EXPECT_EQ(std::memcmp(s.centre.params, in.reference.params, sizeof s.centre.params), 0);
  // Each cone is the 95 % angle around the converged answer's axis.
  const results::Axis* centre[3] = {&in.reference.sigma1, &in.reference.sigma2,
                                    &in.reference.sigma3};
  for (int32_t j = 0; j < 3; ++j) {
    std::vector<std::array<double, 3>> axes;
    for (const bootstrap::Sample& x : s.samples)
      axes.push_back({x.axes[j][0], x.axes[j][1], x.axes[j][2]});
    EXPECT_DOUBLE_EQ(s.cone95_deg[static_cast<std::size_t>(j)],
                     bootstrap::cone_deg(
                         {centre[j]->vector[0], centre[j]->vector[1], centre[j]->vector[2]}, axes))
        << j;
  }
  EXPECT_EQ(bootstrap::bootstrap_json(s)["centre"]["source"], "converged search");
  EXPECT_NE(bootstrap::bootstrap_summary_text(s).find("Centred on the converged search's tensor"),
            std::string::npos);
  // A leave-out's candidate is the converged answer: on the rows without a grain it scores
  // as that tensor does.
  std::vector<gemino::PlaneRow> rows(in.rows.begin() + 3, in.rows.end());
  const auto state = std::make_unique<gemino::State>();
  const gemino::ConvergedResult left_out = bootstrap::invert_left_out(rows, in, *state);
  ASSERT_EQ(left_out.candidate_objectives.size(), 1u);
  EXPECT_EQ(left_out.candidate_objectives[0],
            gemino::score_tensor(*state, params_of(in.reference)).objective_reported);
  // The scan's angles are to the converged answer's axes.
  const bootstrap::Scan scan = bootstrap::run_scan(in, {80, 80, 1}, 1);
  ASSERT_TRUE(scan.rows[0].valid);
  EXPECT_DOUBLE_EQ(
      scan.rows[0].sigma1_to_run_deg,
      bootstrap::axis_angle_deg(scan.rows[0].tensor.sigma1.vector, in.reference.sigma1.vector));
}

TEST(ConvergedReference, TheExamplesRunTensorIsItsOwnCentre) {
  const RunInput& run = bootstrap_test::example_input();
  const gemino::ConvergedResult search = bootstrap::search_full_data(run);
  const RunInput in = bootstrap::with_converged_reference(run, search, tolerance);
  EXPECT_FALSE(in.reference_converged);
  EXPECT_EQ(std::memcmp(in.reference.params, run.reference.params, sizeof(float) * 4), 0);
}

// The desktop's bootstrap starts where the terminal's does: from the converged answer when
// the run stopped short, from the run's tensor when it is the best found.
TEST(ConvergedReference, CentredInputIsTheTerminalsCentreWithItsSearch) {
  const gemino::ConvergedOptions options;
  for (const RunInput* run : {&short_search_input(), &bootstrap_test::example_input()}) {
    const bootstrap::CentredInput centred = bootstrap::centred_on_converged(*run, options);
    const gemino::ConvergedResult search = bootstrap::search_full_data(*run, options);
    const RunInput in = bootstrap::with_converged_reference(*run, search, options.tolerance);
    EXPECT_EQ(centred.input.reference_converged, in.reference_converged);
    EXPECT_EQ(std::memcmp(centred.input.reference.params, in.reference.params, sizeof(float) * 4),
              0);
    EXPECT_EQ(centred.search.best.objective_reported, search.best.objective_reported);
    EXPECT_EQ(centred.search.restarts, search.restarts);
    EXPECT_EQ(centred.input.rows.size(), run->rows.size());
  }
  EXPECT_TRUE(
      bootstrap::centred_on_converged(short_search_input(), options).input.reference_converged);
  EXPECT_FALSE(bootstrap::centred_on_converged(bootstrap_test::example_input(), options)
                   .input.reference_converged);
}

}  // namespace
