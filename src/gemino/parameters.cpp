#include "gemino/parameters.h"

#include <algorithm>

#include "gemino/report.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"

namespace gemino {

namespace {

const recfmt::Format fmt_text_in("(A80)");
const recfmt::Format fmt_text_out("(1X,A80)");
const recfmt::Format fmt_run_parameters("(T5,I1,1X,4(I3,1X),I1)");
const recfmt::Format fmt_list_in("(18(I3,1X))");
const recfmt::Format fmt_kept("(T10,'SEULES LES DONNEES SUIVANTES SONT CONSERVEES')");
const recfmt::Format fmt_removed("(T10,'LES DONNEES SUIVANTES SONT RETIREES')");
const recfmt::Format fmt_list_out("(25(1X,I3))");
const recfmt::Format fmt_message("(1X,A)");

}  // namespace

void abandon_run(std::string_view message) {
  recfmt::write(6, fmt_message, {message});
  recfmt::stop(1);
}

void copy_text_lines(State& s) {
  recfmt::Text<text_line_length> line;
  for (int32_t k = 0; k < text_line_count; ++k) {
    recfmt::read(3, fmt_text_in, {line});
    std::copy_n(line.c, text_line_length, s.record.text[k]);
    recfmt::write(8, fmt_text_out, {line});
  }
}

void read_run_parameters(State& s) {
  recfmt::read_list(3, {s.start_mode, s.trial_count, s.twin_percent, s.seed, s.iteration_limit,
                        s.quiet_listing, s.debug_flag});
  s.record.seed = s.seed;
  recfmt::write(
      8, fmt_run_parameters,
      {s.start_mode, s.trial_count, s.twin_percent, s.seed, s.iteration_limit, s.quiet_listing});
  write_separator();

  recfmt::read_list(3, {s.selection_mode, s.selection_count});
  if (s.selection_mode == 0) return;
  if (s.selection_count > max_selection) {
    abandon_run("THE PARAMETER FILE SELECTS MORE THAN 500 DATA NUMBERS: THE RUN STOPS");
  }
  {
    recfmt::Reader list(3, fmt_list_in);
    for (int32_t k = 0; k < s.selection_count; ++k) list >> s.selection_list[k];
    list.finish();
  }
  recfmt::write(8, s.selection_mode == 2 ? fmt_kept : fmt_removed);
  recfmt::Writer echo(8, fmt_list_out);
  for (int32_t k = 0; k < s.selection_count; ++k) echo << s.selection_list[k];
  echo.finish();
}

}  // namespace gemino
