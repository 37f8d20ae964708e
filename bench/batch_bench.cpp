// SPDX-License-Identifier: GPL-3.0-or-later
// A batch of 40 sites, each a copy of the bundled example, run by the terminal program one
// after another (--jobs 1) and two at a time (--jobs 2). On two free processors the second
// should take at most 0.6 times the first.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr int site_count = 40;

// The sites, made once for the whole program in a scratch folder.
const fs::path& sites() {
  static const fs::path root = [] {
    std::string tmpl = (fs::temp_directory_path() / "gemino-batch-XXXXXX").string();
    const fs::path dir = ::mkdtemp(tmpl.data());
    for (int i = 1; i <= site_count; ++i) {
      const fs::path site = dir / ("site-" + std::to_string(100 + i));
      fs::create_directories(site);
      fs::copy_file(GEMINO_EXAMPLES "/params.txt", site / "params.txt");
      fs::copy_file(GEMINO_EXAMPLES "/data.txt", site / "data.txt");
    }
    return dir;
  }();
  return root;
}

void batch(benchmark::State& state) {
  const std::string command = "cd '" + sites().string() + "' && '" GEMINO_TERM_PATH "' --jobs " +
                              std::to_string(state.range(0)) +
                              " --summary summary.csv --batch site-* > /dev/null 2>&1";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("a site did not run to its end");
  }
  state.SetItemsProcessed(state.iterations() * site_count);
}
BENCHMARK(batch)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

// Removes the sites when the program ends.
struct Cleanup {
  ~Cleanup() {
    std::error_code ec;
    fs::remove_all(sites(), ec);
  }
} cleanup;

}  // namespace
