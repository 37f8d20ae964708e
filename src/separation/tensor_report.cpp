// SPDX-License-Identifier: GPL-3.0-or-later
#include "separation/tensor_report.h"

#include <algorithm>
#include <memory>

#include "gemino/charts.h"
#include "gemino/formats.h"
#include "gemino/invert.h"
#include "gemino/report.h"
#include "gemino/start_points.h"
#include "gemino/twin_data.h"
#include "gemino/units.h"
#include "recfmt/hooks.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "recfmt/units.h"

namespace separation {

namespace {

// The report unit is opened as a window unit whose records the hooks keep here: the one
// report being written at a time.
std::string*& captured() {
  static std::string* text = nullptr;
  return text;
}

int32_t keep_write(const char* bytes, int32_t count, int32_t handle, int32_t unit_id) {
  if (unit_id == gemino::report_unit && captured() != nullptr) {
    captured()->append(bytes, static_cast<std::size_t>(count));
    return count;
  }
  return recfmt::default_console_hooks().console_write(bytes, count, handle, unit_id);
}
int32_t open_window(int32_t, std::string_view, std::string_view) {
  return 0;
}
int32_t close_window(int32_t) {
  return 0;
}
void no_end(int32_t) {}

// The run's computation from the data rows on, writing as the run writes.
void write_report(gemino::State& s, const gemino::State& run) {
  using namespace gemino;
  recfmt::Text<text_line_length> line;
  for (int32_t k = 0; k < text_line_count; ++k) {
    std::copy_n(run.record.text[k], text_line_length, line.c);
    recfmt::write(report_unit, formats::text_line_out, {line});
  }
  recfmt::write(report_unit, formats::run_parameters,
                {s.start_mode, s.trial_count, s.twin_percent, run.record.seed, s.iteration_limit,
                 s.quiet_listing});
  write_separator();
  write_separator();
  float twinned = 0.0f;
  float untwinned = 0.0f;
  count_planes(s, twinned, untwinned);
  recfmt::write(report_unit, formats::twin_counts, {twinned, untwinned, s.twin_limit});
  write_separator();

  float x[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  float f = 0.0f;
  const BestStart best = best_start(
      s,
      [&s](int32_t trial, float& alpha, float& beta, float& gamma, float& r) {
        choose_start(s, trial, alpha, beta, gamma, r);
      },
      {}, x, f);
  float reported = best.objective;
  report_tensor(s, x, reported, s.threshold_index, s.data_count);
  search_from(s, x, f, 0, {});
  reported = f;
  report_tensor(s, x, reported, s.threshold_index, s.data_count);
  report_ranking(s);
  stress_plots(s, x);
}

}  // namespace

std::optional<std::string> tensor_report(const gemino::State& run, const Tensor& tensor,
                                         int32_t share, int32_t trial_count,
                                         int32_t iteration_limit) {
  if (tensor.rows.size() > static_cast<std::size_t>(gemino::max_rows)) return std::nullopt;
  const auto state = std::make_unique<gemino::State>();
  gemino::State& s = *state;
  gemino::reset_state(s);
  s.start_mode = 1;
  s.trial_count = trial_count;
  s.twin_percent = share;
  s.seed = tensor.seed;
  s.iteration_limit = iteration_limit;
  s.quiet_listing = 1;
  gemino::put_rows(tensor.rows, s);

  std::string text;
  const recfmt::ConsoleHooks before = recfmt::console_hooks();
  recfmt::ConsoleHooks hooks = before;
  hooks.console_write = keep_write;
  hooks.open_unit_window = open_window;
  hooks.close_unit_window = close_window;
  hooks.program_end = no_end;
  recfmt::install_console_hooks(hooks);
  captured() = &text;
  bool written = false;
  try {
    if (recfmt::open(gemino::report_unit, "TENSOR", "unknown", "WINDOW") == 0) {
      write_report(s, run);
      written = true;
    }
  } catch (const recfmt::StopRun&) {
    written = false;
  }
  recfmt::close(gemino::report_unit);
  captured() = nullptr;
  recfmt::install_console_hooks(before);
  if (!written) return std::nullopt;
  return text;
}

}  // namespace separation
