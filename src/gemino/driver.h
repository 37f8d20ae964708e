// The main program: one inversion from the console dialogue to the report.
#pragma once

#include "gemino/state.h"

namespace gemino {

// Performs exactly one run on the shared state, then stops (recfmt::stop()).
void run_driver(State& s);

}  // namespace gemino
