// SPDX-License-Identifier: GPL-3.0-or-later
// The plain-terminal program: console units on standard input and output through the
// record layer's default hooks; its command line is the cli library's.
#include "cli/main.h"
#include "gemino/terminal_progress.h"
#include "recfmt/hooks.h"
#include "safe_file/interrupt_cleanup.h"

int main(int argc, char** argv) {
  // Ctrl-C or a kill while an output is being written leaves no unfinished file.
  safe_file::install_interrupt_cleanup();
  recfmt::open_closed_standard_streams();
  gemino::show_progress_on_terminal();
  return cli::main(argc, argv);
}
