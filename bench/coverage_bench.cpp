// SPDX-License-Identifier: GPL-3.0-or-later
// How often the bootstrap's cones and intervals hold the truth: synthetic sets of 60 grains
// from random known tensors, each inverted by the converged search, bootstrapped (B
// resamples, 2 jobs, no leave-outs) around its answer, and compared with the tensor it was
// made from. Not a unit test: a row of 40 sets takes minutes. Each row is a benchmark:
//
//   coverage_bench --benchmark_filter=Coverage/30/0/100
//
// Arguments: noise (tenths of a degree on each measured direction), misread labels (per
// mille), share of twins counted (percent), sets, B. GEMINO_COVERAGE_FIRST_SEED,
// GEMINO_COVERAGE_SETS, GEMINO_COVERAGE_JOBS, GEMINO_COVERAGE_AT_BEST, GEMINO_COVERAGE_MARGIN,
// GEMINO_COVERAGE_WIDE_CENTRE, GEMINO_COVERAGE_BRACKET, GEMINO_COVERAGE_PRINT and
// GEMINO_COVERAGE_PULL are read below. The counters are shares of the sets (0 to 1) and
// medians in degrees (`fits_every_row`: the sets whose converged answer leaves no untwinned
// plane above its threshold); `sigma1_error95` (`sigma3_error95`) is the 95th percentile over
// the sets of the centre's angle to the true axis, the size one cone would need to hold the
// truth in 95 % of them; `median_dsigma_width` the median width of the differential stress
// interval over the true differential stress. docs/confidence.md gives the table they make.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <vector>

#include "bootstrap/converged_reference.h"
#include "bootstrap/synthetic.h"

namespace {

struct Row {
  double noise_deg = 3.0;
  double misread_share = 0.0;
  int32_t sets = 40;
  int32_t resamples = 300;
  // The share of twins each set is inverted with; a rule that suggests the share from the
  // data (a scan of the percentages) is given here to measure a row at its suggestion.
  std::function<int32_t(const bootstrap::RunInput& input)> share;
};

double median(std::vector<double> v) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

// The smallest value at or above which lie no more than 5 % of v (nearest rank).
double percentile95(std::vector<double> v) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  const auto rank = static_cast<std::size_t>(std::ceil(0.95 * static_cast<double>(v.size())));
  return v[std::max<std::size_t>(rank, 1) - 1];
}

// The first seed of the sets: GEMINO_COVERAGE_FIRST_SEED, else 1 (the sets of the guide's
// table); sets made from other seeds measure a change on data it was not designed on.
uint64_t first_seed() {
  const char* text = std::getenv("GEMINO_COVERAGE_FIRST_SEED");
  return text != nullptr ? std::strtoull(text, nullptr, 10) : 1u;
}

// Worker threads: GEMINO_COVERAGE_JOBS, else 2; the figures are the same for any number.
int32_t jobs() {
  const char* text = std::getenv("GEMINO_COVERAGE_JOBS");
  return text != nullptr ? std::atoi(text) : 2;
}

// Restarts each search needs at its best objective: GEMINO_COVERAGE_AT_BEST, else 2 (the
// bootstrap's own rule); more make the answer the central one of them.
int32_t restarts_at_best() {
  const char* text = std::getenv("GEMINO_COVERAGE_AT_BEST");
  return text != nullptr ? std::atoi(text) : 2;
}

// The bootstrap's own rules unless the environment says otherwise: GEMINO_COVERAGE_MARGIN=0
// leaves every resample's answer where its search stopped instead of moving it to the tensor
// of widest margin (bootstrap::Options::widest_margin); GEMINO_COVERAGE_BRACKET=0 gives the
// differential stress interval the 97.5 % point of tau_c / SEUIL instead of the upper ends of
// the brackets (bootstrap::Options::bracket_interval); GEMINO_COVERAGE_WIDE_CENTRE=1 widens
// the centre of the cones as well (a trial: the program centres them on the converged answer).
bool flag(const char* name, bool fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::atoi(text) != 0 : fallback;
}

// GEMINO_COVERAGE_PRINT=1 prints a line per set (its seed, the sigma1 and sigma3 cones, the
// centre's angles to the true axes, whether each cone holds the truth, the objective of the
// centre and the twins read as untwinned), so that the sets of several runs can be pooled.
bool print_sets() {
  const char* text = std::getenv("GEMINO_COVERAGE_PRINT");
  return text != nullptr && std::atoi(text) != 0;
}

// GEMINO_COVERAGE_PULL=1 adds to each printed line the pull of the twins read as
// untwinned: the angle between the sigma1 of the converged answer of the set and that of
// the set without their grains (0 when there are none).
bool print_pull() {
  const char* text = std::getenv("GEMINO_COVERAGE_PULL");
  return text != nullptr && std::atoi(text) != 0;
}

double pull_deg(const bootstrap::SyntheticSet& set) {
  if (set.hidden_twin_rows.empty()) return 0.0;
  std::set<int32_t> grains;
  for (const int32_t row : set.hidden_twin_rows) {
    grains.insert(set.input.row_record[static_cast<std::size_t>(row)]);
  }
  bootstrap::RunInput without = set.input;
  without.rows.clear();
  without.row_grain.clear();
  without.row_record.clear();
  for (std::size_t i = 0; i < set.input.rows.size(); ++i) {
    if (grains.count(set.input.row_record[i]) != 0) continue;
    without.rows.push_back(set.input.rows[i]);
    without.row_grain.push_back(set.input.row_grain[i]);
    without.row_record.push_back(set.input.row_record[i]);
  }
  const gemino::ConvergedResult all = bootstrap::search_full_data(set.input);
  const gemino::ConvergedResult rest = bootstrap::search_full_data(without);
  return gemino::axial_angle_deg(all.best.axes[0], rest.best.axes[0]);
}

// Sets per row: GEMINO_COVERAGE_SETS, else the row's own number.
int32_t sets_of_row(int32_t row_sets) {
  const char* text = std::getenv("GEMINO_COVERAGE_SETS");
  return text != nullptr ? std::atoi(text) : row_sets;
}

void measure_row(benchmark::State& bench, const Row& row) {
  for (auto _ : bench) {
    int32_t sigma1 = 0, sigma3 = 0, defined = 0, holds = 0, no_worse = 0, centred = 0;
    int32_t fit_every_row = 0;
    std::vector<double> cone1, cone3, error1, error3, width;
    for (int32_t k = 1; k <= row.sets; ++k) {
      bootstrap::SyntheticRecipe recipe;
      const uint64_t seed = first_seed() + static_cast<uint64_t>(k - 1);
      recipe.seed = seed;
      recipe.noise_deg = row.noise_deg;
      recipe.flipped_share = row.misread_share;
      recipe.twin_percent = 100;
      bootstrap::SyntheticSet set = bootstrap::make_synthetic(recipe);
      const int32_t share = row.share(set.input);
      if (share != recipe.twin_percent) {
        // The same data (same seed) inverted with the share chosen.
        recipe.twin_percent = share;
        set = bootstrap::make_synthetic(recipe);
      }
      bootstrap::Options options;
      options.resamples = row.resamples;
      options.seed = seed;
      options.jobs = jobs();
      options.restarts_at_best = restarts_at_best();
      options.widest_margin = flag("GEMINO_COVERAGE_MARGIN", options.widest_margin);
      const bool widen_centre = flag("GEMINO_COVERAGE_WIDE_CENTRE", false);
      options.bracket_interval = flag("GEMINO_COVERAGE_BRACKET", options.bracket_interval);
      options.influence = false;
      const bootstrap::SetCoverage c = bootstrap::measure_coverage(set, options, widen_centre);
      sigma1 += c.sigma1_holds;
      sigma3 += c.sigma3_holds;
      defined += c.differential_defined;
      holds += c.differential_holds;
      if (c.differential_defined) width.push_back(c.differential_width);
      no_worse += c.answer_objective - c.truth_objective <= 1.0E-4f;
      centred += c.centre_converged;
      fit_every_row += c.answer_objective <= 1.0E-4f;
      cone1.push_back(c.cone_deg[0]);
      cone3.push_back(c.cone_deg[2]);
      error1.push_back(c.sigma1_error_deg);
      error3.push_back(c.sigma3_error_deg);
      if (print_sets()) {
        std::printf("set %llu: cone %.3f %.3f error %.3f %.3f holds %d %d",
                    static_cast<unsigned long long>(seed), c.cone_deg[0], c.cone_deg[2],
                    c.sigma1_error_deg, c.sigma3_error_deg, c.sigma1_holds ? 1 : 0,
                    c.sigma3_holds ? 1 : 0);
        std::printf(" objective %.5f hidden %zu", static_cast<double>(c.answer_objective),
                    set.hidden_twin_rows.size());
        if (print_pull()) std::printf(" pull %.3f", pull_deg(set));
        std::printf("\n");
        std::fflush(stdout);
      }
    }
    const double n = row.sets;
    bench.counters["sigma1_holds"] = sigma1 / n;
    bench.counters["sigma3_holds"] = sigma3 / n;
    bench.counters["median_sigma1_cone"] = median(cone1);
    bench.counters["median_sigma3_cone"] = median(cone3);
    bench.counters["sigma1_error95"] = percentile95(error1);
    bench.counters["sigma3_error95"] = percentile95(error3);
    bench.counters["median_sigma1_error"] = median(error1);
    bench.counters["dsigma_defined"] = defined / n;
    bench.counters["dsigma_holds"] = holds / n;
    bench.counters["median_dsigma_width"] = median(width);
    bench.counters["no_worse_than_truth"] = no_worse / n;
    bench.counters["centred_on_better"] = centred / n;
    bench.counters["fits_every_row"] = fit_every_row / n;
  }
}

void BM_Coverage(benchmark::State& bench) {
  Row row;
  row.noise_deg = static_cast<double>(bench.range(0)) / 10.0;
  row.misread_share = static_cast<double>(bench.range(1)) / 1000.0;
  const auto share = static_cast<int32_t>(bench.range(2));
  row.share = [share](const bootstrap::RunInput&) { return share; };
  row.sets = sets_of_row(static_cast<int32_t>(bench.range(3)));
  row.resamples = static_cast<int32_t>(bench.range(4));
  measure_row(bench, row);
}
BENCHMARK(BM_Coverage)
    ->ArgNames({"noise", "misread", "share", "sets", "B"})
    ->Args({30, 0, 100, 40, 300})  // 3 degrees of noise, every twin counted
    ->Args({30, 20, 90, 40, 300})  // 3 degrees, 2 % misread, 90 % counted
    ->Args({0, 0, 100, 40, 300})   // no noise, every twin counted
    ->Args({10, 0, 100, 40, 300})  // 1 degree of noise, every twin counted
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
