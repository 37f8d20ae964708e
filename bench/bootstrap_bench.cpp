// SPDX-License-Identifier: GPL-3.0-or-later
// The bootstrap of the bundled example: 1000 resamples, each a converged search, and the
// 60 leave-one-grain-out searches, with 1 and 2 workers (the target: at most 3 s with 2);
// the second argument 0 leaves every resample's answer where its search stopped instead of
// moving it to the tensor of widest margin that fits it no worse, as the bootstrap does
// (bootstrap::Options::widest_margin), to show what the widening costs.
// Real time counts, since the work is spread over threads. How often the cones hold the
// truth is measured by coverage_bench.
#include <benchmark/benchmark.h>

#include "bootstrap/bootstrap.h"
#include "recfmt/stop.h"

#include <filesystem>

#include "gemino/driver.h"
#include "support/fake_console.h"

namespace {

const bootstrap::RunInput& example_input() {
  static const bootstrap::RunInput input = [] {
    const auto before = std::filesystem::current_path();
    const auto dir = std::filesystem::temp_directory_path() / "gemino-bootstrap-bench";
    std::filesystem::create_directories(dir);
    std::filesystem::copy_file(GEMINO_EXAMPLES "/params.txt", dir / "params.txt",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(GEMINO_EXAMPLES "/data.txt", dir / "data.txt",
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::current_path(dir);
    {
      test_support::FakeConsole console({"", "params.txt", "data.txt", "report.txt"});
      recfmt::run_program([] { gemino::run_driver(gemino::shared_state()); });
    }
    std::filesystem::current_path(before);
    std::filesystem::remove_all(dir);
    return bootstrap::run_input(gemino::shared_state());
  }();
  return input;
}

void BM_BootstrapExample1000(benchmark::State& bench) {
  const auto& input = example_input();
  bootstrap::Options options;
  options.resamples = 1000;
  options.seed = 1;
  options.jobs = static_cast<int32_t>(bench.range(0));
  options.widest_margin = bench.range(1) != 0;
  for (auto _ : bench) {
    const auto s = bootstrap::run_bootstrap(input, options);
    benchmark::DoNotOptimize(s.cone95_deg);
  }
}
BENCHMARK(BM_BootstrapExample1000)
    ->ArgNames({"jobs", "widest_margin"})
    ->Args({1, 1})
    ->Args({2, 1})
    ->Args({2, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
