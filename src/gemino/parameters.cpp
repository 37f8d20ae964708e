// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/parameters.h"

#include <algorithm>

#include "gemino/formats.h"
#include "gemino/report.h"
#include "gemino/units.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"

namespace gemino {

void abandon_run(std::string_view message) {
  recfmt::write(console_unit, formats::console_message, {message});
  recfmt::stop(1);
}

void copy_text_lines(State& s) {
  recfmt::Text<text_line_length> line;
  for (int32_t k = 0; k < text_line_count; ++k) {
    recfmt::read(parameter_unit, formats::text_line_in, {line});
    std::copy_n(line.c, text_line_length, s.record.text[k]);
    recfmt::write(report_unit, formats::text_line_out, {line});
  }
}

void read_run_parameters(State& s) {
  recfmt::read_list(parameter_unit, {s.start_mode, s.trial_count, s.twin_percent, s.seed,
                                     s.iteration_limit, s.quiet_listing, s.debug_flag});
  s.record.seed = s.seed;
  recfmt::write(
      report_unit, formats::run_parameters,
      {s.start_mode, s.trial_count, s.twin_percent, s.seed, s.iteration_limit, s.quiet_listing});
  write_separator();

  recfmt::read_list(parameter_unit, {s.selection_mode, s.selection_count});
  if (s.selection_mode == 0) return;
  if (s.selection_count > max_selection) {
    abandon_run("THE PARAMETER FILE SELECTS MORE THAN 500 DATA NUMBERS: THE RUN STOPS");
  }
  {
    recfmt::Reader list(parameter_unit, formats::selection_in);
    for (int32_t k = 0; k < s.selection_count; ++k) list >> s.selection_list[k];
    list.finish();
  }
  recfmt::write(report_unit,
                s.selection_mode == 2 ? formats::selection_kept : formats::selection_removed);
  recfmt::Writer echo(report_unit, formats::selection_out);
  for (int32_t k = 0; k < s.selection_count; ++k) echo << s.selection_list[k];
  echo.finish();
}

}  // namespace gemino
