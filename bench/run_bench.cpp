// SPDX-License-Identifier: GPL-3.0-or-later
// A whole run from the files to the report: 500 planes, 500 starting candidates and
// 20,000 search steps, with the console dialogue answered by scripted replies.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "gemino/driver.h"
#include "gemino/state.h"
#include "recfmt/hooks.h"
#include "recfmt/stop.h"

namespace {

// Replies to the console: Return after the header, then the three file names.
const char* const replies[] = {"", "params.txt", "data.txt", "report.txt"};
int32_t next_reply = 0;

int32_t scripted_read(char* buffer, int32_t capacity, int32_t /*unit_id*/) {
  if (next_reply >= 4) return 0;
  const std::string line = std::string(replies[next_reply++]) + "\r\n";
  const int32_t n =
      static_cast<int32_t>(line.size()) < capacity ? static_cast<int32_t>(line.size()) : capacity;
  line.copy(buffer, static_cast<std::size_t>(n));
  return n;
}
int32_t discard_write(const char*, int32_t count, int32_t, int32_t) {
  return count;
}
void nothing_at_end(int32_t) {}
void no_messages() {}
int32_t no_window(int32_t, std::string_view, std::string_view) {
  return 1;
}
int32_t no_close(int32_t) {
  return 0;
}

// A deterministic generator for the measurements.
uint32_t lcg = 20100621u;
int32_t draw(int32_t below) {
  lcg = lcg * 1664525u + 1013904223u;
  return static_cast<int32_t>((lcg >> 8) % static_cast<uint32_t>(below));
}

std::string record(int32_t direction, int32_t plunge, char sense, int32_t grain, char code) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "  %3d   %2d    %c    0  %3d    %c", direction, plunge, sense,
                grain, code);
  return buf;
}

// 167 grains in two blocks, three planes each but the last: 500 planes.
void write_inputs() {
  std::ofstream params("params.txt");
  params << "BENCHMARK: 500 PLANES, 500 CANDIDATES, 20000 STEPS\n";
  for (int k = 2; k <= 10; ++k) params << "line " << k << "\n";
  params << "1 500 80 12345 20000 0 0\n0 0\n";

  std::ofstream data("data.txt");
  int32_t planes = 0;
  for (int32_t block = 0; block < 2; ++block) {
    data << (block == 0 ? "0       0    0    0 \n" : "1      30  -20   45 \n");
    for (int32_t grain = 1; grain <= 99 && planes < 500; ++grain) {
      data << record(draw(360), draw(90), ' ', grain, ' ') << "\n";
      for (int32_t k = 0; k < 3 && planes < 500; ++k, ++planes) {
        const char code = draw(3) == 0 ? "XMT"[draw(3)] : 'N';
        data << record(draw(360), draw(90), draw(4) == 0 ? 'D' : ' ', grain, code) << "\n";
      }
    }
    data << record(block == 0 ? 400 : 999, 0, ' ', 0, ' ') << "\n";
  }
}

void BM_WholeRun(benchmark::State& state) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("gemino-run-bench-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::filesystem::path home = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  write_inputs();
  recfmt::install_console_hooks(recfmt::ConsoleHooks{
      &scripted_read, &discard_write, &nothing_at_end, &no_messages, &no_window, &no_close});
  int32_t exit_code = 0;
  for (auto _ : state) {
    next_reply = 0;
    exit_code = recfmt::run_program([] { gemino::run_driver(gemino::shared_state()); });
  }
  recfmt::install_console_hooks(recfmt::default_console_hooks());
  state.counters["data_rows"] = gemino::shared_state().data_count;
  state.counters["steps"] = gemino::shared_state().eval_count;
  if (exit_code != 0) state.SkipWithError("the run did not end normally");
  std::filesystem::current_path(home);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WholeRun)->Unit(benchmark::kMillisecond);

}  // namespace
