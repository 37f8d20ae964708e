// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter file (unit 3): ten lines of free text, the run parameters and the
// selection of data, each echoed to the report (unit 8). The starting-state record
// that follows is read later, by the start points.
#pragma once

#include <string_view>

#include "gemino/state.h"

namespace gemino {

// Copies the first ten records of the parameter file to the report.
void copy_text_lines(State& s);

// Reads the run-parameter record and the selection, and echoes them. A list of more
// data numbers than the selection holds ends the run with a message (exit code 1).
void read_run_parameters(State& s);

// Ends the run over input the computation cannot hold: the message goes to the
// console, and the run stops with exit code 1.
[[noreturn]] void abandon_run(std::string_view message);

}  // namespace gemino
