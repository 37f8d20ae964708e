// The plain-terminal program: console units on standard input and output through the
// record layer's default hooks.
#include "gemino/driver.h"
#include "recfmt/hooks.h"
#include "recfmt/stop.h"

int main() {
  recfmt::open_closed_standard_streams();
  return recfmt::run_program([] { gemino::run_driver(gemino::shared_state()); });
}
