// SPDX-License-Identifier: GPL-3.0-or-later
// A whole run in this process on a fuzzed parameter file and data file: the console
// answers are scripted (the header's pause, then the three file names) and the report
// goes to a scratch file. A run must end normally (exit code 0), through a read error
// (2) or through one of the capacity errors (1): never a crash, a sanitizer report, a
// hang or output without bound.
//
// Input: the parameter file, a form feed, the data file (no form feed: no data file).
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "gemino/driver.h"
#include "gemino/state.h"
#include "recfmt/hooks.h"
#include "recfmt/stop.h"
#include "support/fake_console.h"

namespace {

// Bounds on the work of one execution. The candidate and search-step counts are the
// only inputs whose size sets a run's length (the data rows are bounded by the reader).
constexpr int32_t max_trials = 16;
constexpr int32_t max_steps = 120;
constexpr size_t max_file = 48 * 1024;
constexpr uintmax_t max_report = 4 * 1024 * 1024;
constexpr size_t max_console = 256 * 1024;

test_support::FakeConsole& console() {
  static test_support::FakeConsole c;
  return c;
}

// Every statement first pumps the console's messages. The first statement after the
// parameter read is the echo of the values read, so clamping the two loop counts here
// bounds the run before either loop starts, whatever notation the file used.
void bounded_pump() {
  gemino::State& s = gemino::shared_state();
  if (s.trial_count > max_trials) s.trial_count = max_trials;
  if (s.iteration_limit > max_steps) s.iteration_limit = max_steps;
}

void install_bounded_pump() {
  recfmt::ConsoleHooks hooks = recfmt::console_hooks();
  hooks.pump_messages = bounded_pump;
  recfmt::install_console_hooks(hooks);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const size_t cut = all.find('\f');
  const std::string_view params = all.substr(0, cut);
  const std::string_view twins = cut == std::string_view::npos ? "" : all.substr(cut + 1);
  if (params.size() > max_file || twins.size() > max_file) return 0;

  static const std::string params_path = gemino_fuzz::scratch_file("p.txt");
  static const std::string data_path = gemino_fuzz::scratch_file("d.txt");
  static const std::string report_path = gemino_fuzz::scratch_file("r.txt");
  static const bool ready = [] {
    console();
    install_bounded_pump();
    return true;
  }();
  (void)ready;

  gemino_fuzz::write_file(params_path, params);
  gemino_fuzz::write_file(data_path, twins);
  // One run in eight is made twice: the second must repeat the first byte for byte, or
  // the run depends on something its files do not say (state left by an earlier run,
  // storage never set).
  const int times = size % 8 == 0 ? 2 : 1;
  int32_t first_code = 0;
  std::string first_report;
  for (int time = 0; time < times; ++time) {
    gemino_fuzz::write_file(report_path, "");
    console().clear_output();
    console().set_input("\n" + params_path + "\n" + data_path + "\n" + report_path + "\n");

    const int32_t code = recfmt::run_program([] { gemino::run_driver(gemino::shared_state()); });
    FUZZ_CHECK(code == 0 || code == 1 || code == 2);
    const std::string& out = console().output();
    FUZZ_CHECK(out.size() <= max_console);
    FUZZ_CHECK(gemino_fuzz::file_size(report_path) <= max_report);
    const std::string report = gemino_fuzz::read_file(report_path);
    if (code == 2) FUZZ_CHECK(out.find("? ") != std::string::npos);
    if (code == 1) FUZZ_CHECK(out.find("THE RUN STOPS") != std::string::npos);
    if (code == 0) {
      // A run that ends normally has written its whole report: the last chart row closes it.
      FUZZ_CHECK(report.size() >= 118 && report.compare(report.size() - 2, 2, "\r\n") == 0);
      FUZZ_CHECK(report.rfind("\r\n", report.size() - 3) == report.size() - 120);
    }
    const gemino::State& s = gemino::shared_state();
    FUZZ_CHECK(s.data_count >= 0 && s.data_count <= gemino::max_rows);
    if (time == 0) {
      first_code = code;
      first_report = report;
    } else {
      FUZZ_CHECK(code == first_code && report == first_report);
    }
  }
  return 0;
}
