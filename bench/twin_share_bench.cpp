// SPDX-License-Identifier: GPL-3.0-or-later
// The suggested share of twins on synthetic sets of 60 grains with 3 degrees of noise:
// the share of sets whose suggestion lies within 5 points of the true share of genuine
// twins (of the planes labelled twinned, those whose resolved shear stress exceeds the
// critical value), with 10 % of the labels misread and with none. Each set is scanned
// over the range `--twin-percent auto` uses. GEMINO_SHARE_SETS sets the number of sets
// per row (40), GEMINO_SHARE_FIRST_SEED the first seed (1); GEMINO_SHARE_TABLES=1 prints
// each set's scan.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bootstrap/synthetic.h"
#include "bootstrap/twin_scan.h"

namespace {

uint64_t env_number(const char* name, uint64_t fallback) {
  const char* v = std::getenv(name);
  return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 10) : fallback;
}

void BM_SuggestedShare(benchmark::State& bench) {
  const double misread = static_cast<double>(bench.range(0)) / 100.0;
  const auto sets = static_cast<int32_t>(env_number("GEMINO_SHARE_SETS", 40));
  const uint64_t first = env_number("GEMINO_SHARE_FIRST_SEED", 1);
  const bool tables = env_number("GEMINO_SHARE_TABLES", 0) != 0;
  for (auto _ : bench) {
    int32_t within = 0;
    int32_t suggested = 0;
    double error_sum = 0.0;
    for (int32_t k = 0; k < sets; ++k) {
      bootstrap::SyntheticRecipe recipe;
      recipe.seed = first + static_cast<uint64_t>(k);
      recipe.noise_deg = 3.0;
      recipe.flipped_share = misread;
      const bootstrap::SyntheticSet set = bootstrap::make_synthetic(recipe);
      const bootstrap::Scan scan = bootstrap::run_scan(set.input, bootstrap::auto_scan_range, 2);
      const double truth = 100.0 * set.true_twin_share;
      if (!scan.suggestion) continue;
      ++suggested;
      const double error = scan.suggestion->twin_percent - truth;
      error_sum += std::fabs(error);
      within += std::fabs(error) <= 5.0 ? 1 : 0;
      if (tables) {
        std::printf("set %llu: truth %.1f %%, suggested %d %% (%s), twinned %d untwinned %d\n",
                    static_cast<unsigned long long>(recipe.seed), truth,
                    scan.suggestion->twin_percent, scan.suggestion->reason.c_str(),
                    scan.twinned_planes, scan.untwinned_planes);
        for (const bootstrap::ScanRow& r : scan.rows) {
          std::printf("  %3d %% k=%3d untw.above=%3d objective=%.4f%s\n", r.twin_percent,
                      r.twins_counted, r.untwinned_above,
                      static_cast<double>(r.tensor.objective_reported_units),
                      r.from_neighbour ? " (neighbour)" : "");
        }
        std::fflush(stdout);
      }
    }
    bench.counters["sets"] = sets;
    bench.counters["within_5_points"] = sets > 0 ? static_cast<double>(within) / sets : 0.0;
    bench.counters["mean_abs_error"] = suggested > 0 ? error_sum / suggested : 0.0;
  }
}
// The argument is the percentage of misread labels.
BENCHMARK(BM_SuggestedShare)->Arg(10)->Arg(0)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
