// SPDX-License-Identifier: GPL-3.0-or-later
// The cones after `--twin-percent auto` on synthetic sets of 60 grains with 3 degrees of
// noise and 2 % misread labels: each set is scanned over the automatic range, then
// resampled B = 300 times at the suggested share around the scan's tensor there. Reports
// the share of sets whose sigma1 and sigma3 cones hold the true axes, the median sigma1
// cone, and the share of sets whose differential stress is defined (SEUIL above zero at
// the share) and whose bootstrap interval of it is defined. GEMINO_COVERAGE_SETS sets the
// number of sets (40), GEMINO_COVERAGE_FIRST_SEED the first seed (1); the margin and bracket
// switches are those of coverage_bench.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "bootstrap/axial_stats.h"
#include "bootstrap/bootstrap.h"
#include "bootstrap/converged_reference.h"
#include "bootstrap/synthetic.h"
#include "bootstrap/twin_scan.h"

namespace {

uint64_t env_number(const char* name, uint64_t fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 10) : fallback;
}

void BM_AutoShareCoverage(benchmark::State& bench) {
  const auto sets = static_cast<int32_t>(env_number("GEMINO_COVERAGE_SETS", 40));
  const uint64_t first = env_number("GEMINO_COVERAGE_FIRST_SEED", 1);
  // The bootstrap's own rules unless GEMINO_COVERAGE_MARGIN=0 or GEMINO_COVERAGE_BRACKET=0
  // (as in coverage_bench); GEMINO_COVERAGE_WIDE_CENTRE=1 widens the centre at the share too.
  const bootstrap::Options defaults;
  const bool widest_margin = env_number("GEMINO_COVERAGE_MARGIN", defaults.widest_margin) != 0;
  const bool bracket_interval =
      env_number("GEMINO_COVERAGE_BRACKET", defaults.bracket_interval) != 0;
  const bool wide_centre = env_number("GEMINO_COVERAGE_WIDE_CENTRE", 0) != 0;
  for (auto _ : bench) {
    int32_t sigma1_held = 0;
    int32_t sigma3_held = 0;
    int32_t defined = 0;
    int32_t interval_defined = 0;
    std::vector<double> cones;
    std::vector<double> shares;
    for (int32_t k = 0; k < sets; ++k) {
      bootstrap::SyntheticRecipe recipe;
      recipe.seed = first + static_cast<uint64_t>(k);
      recipe.noise_deg = 3.0;
      recipe.flipped_share = 0.02;
      const bootstrap::SyntheticSet set = bootstrap::make_synthetic(recipe);
      const bootstrap::Scan scan = bootstrap::run_scan(set.input, bootstrap::auto_scan_range, 2);
      bootstrap::RunInput at = set.input;
      if (scan.suggestion) {
        const bootstrap::ScanRow& row = scan.rows[static_cast<std::size_t>(scan.suggestion->row)];
        at.twin_percent = row.twin_percent;
        at.reference = row.tensor;
        shares.push_back(row.twin_percent);
      }
      if (wide_centre) {
        // The centre widened as the resamples are: it fits the data at the share no worse.
        gemino::ConvergedOptions centre;
        centre.widest_margin = true;
        const gemino::ConvergedResult search = bootstrap::search_full_data(at, centre);
        if (search.status == gemino::InversionStatus::done) {
          at.reference = bootstrap::tensor_result(search.best);
        }
      }
      bootstrap::Options options;
      options.resamples = 300;
      options.seed = 1;
      options.jobs = 2;
      options.influence = false;
      options.widest_margin = widest_margin;
      options.bracket_interval = bracket_interval;
      const bootstrap::Summary s = bootstrap::run_bootstrap(at, options);
      const double s1[3] = {at.reference.sigma1.vector[0], at.reference.sigma1.vector[1],
                            at.reference.sigma1.vector[2]};
      const double s3[3] = {at.reference.sigma3.vector[0], at.reference.sigma3.vector[1],
                            at.reference.sigma3.vector[2]};
      sigma1_held += bootstrap::axis_angle_deg(s1, set.sigma1) <= s.cone95_deg[0] ? 1 : 0;
      sigma3_held += bootstrap::axis_angle_deg(s3, set.sigma3) <= s.cone95_deg[2] ? 1 : 0;
      defined += at.reference.threshold > 0.0f ? 1 : 0;
      interval_defined += s.differential_mpa ? 1 : 0;
      cones.push_back(s.cone95_deg[0]);
    }
    std::sort(cones.begin(), cones.end());
    std::sort(shares.begin(), shares.end());
    const double n = sets > 0 ? sets : 1;
    bench.counters["sets"] = sets;
    bench.counters["sigma1_held"] = sigma1_held / n;
    bench.counters["sigma3_held"] = sigma3_held / n;
    bench.counters["median_sigma1_cone"] = cones.empty() ? 0.0 : cones[cones.size() / 2];
    bench.counters["diff_defined"] = defined / n;
    bench.counters["diff_interval_defined"] = interval_defined / n;
    bench.counters["median_share"] = shares.empty() ? 0.0 : shares[shares.size() / 2];
  }
}
BENCHMARK(BM_AutoShareCoverage)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
