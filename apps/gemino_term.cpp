// The plain-terminal program: console units on standard input and output through the
// record layer's default hooks; its command line is the cli library's.
#include "cli/main.h"
#include "gemino/terminal_progress.h"
#include "recfmt/hooks.h"

int main(int argc, char** argv) {
  recfmt::open_closed_standard_streams();
  gemino::show_progress_on_terminal();
  return cli::main(argc, argv);
}
