// SPDX-License-Identifier: GPL-3.0-or-later
// Ending the run.
//
// stop() closes every unit, calls the ProgramEnd hook and then throws StopRun, which
// the program's main() catches to return the exit code. Throwing (rather than calling
// exit) lets a stop requested from inside a console read unwind the computation
// cleanly, and lets tests observe a stop without ending the test process.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

namespace recfmt {

struct StopRun {
  int32_t exit_code;
};

// STOP [code]: a plain stop has exit code 0.
[[noreturn]] void stop(int32_t exit_code = 0);

// The three-line run-time error report on the console ("? " lines), then stop(2).
// statement is e.g. "READ", message e.g. "Illegal character in numeric input".
[[noreturn]] void runtime_error(std::string_view statement, int32_t unit, std::string_view message);

// Runs a whole program body: catches StopRun and returns its exit code; a normal return
// of body is a plain stop (units closed, ProgramEnd called, code 0). Any other exception
// (memory exhausted) closes the units, is told on standard error and gives code 2.
int32_t run_program(const std::function<void()>& body);

}  // namespace recfmt
