// SPDX-License-Identifier: GPL-3.0-or-later
// Ending the run: a plain STOP, a STOP with a code, and the run-time error report.
#include "recfmt/stop.h"

#include <cstdio>
#include <exception>
#include <string>

#include "recfmt/hooks.h"
#include "recfmt/statements.h"
#include "recfmt/unit.h"
#include "recfmt/units.h"

namespace recfmt {
namespace detail {

std::string unit_text(int32_t unit) {
  return unit == star ? "*" : std::to_string(unit);
}

void report_and_stop(std::string_view statement, std::string_view unit, std::string_view message,
                     std::string_view where) {
  // The report goes to standard output so that it stays in the console transcript.
  // Whether the console took it changes nothing: the run ends either way.
  const std::string lines[4] = {
      "? A run-time error occurred",
      "? " + std::string(message),
      "? " + std::string(statement) + "(UNIT=" + std::string(unit) + ",...",
      where.empty() ? std::string() : "? " + std::string(where),
  };
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    const std::string record = line + "\r\n";
    (void)console_hooks().console_write(record.data(), static_cast<int32_t>(record.size()),
                                        stdout_handle, stdout_id);
  }
  stop(2);
}

}  // namespace detail

void stop(int32_t exit_code) {
  close_all();
  // A console transcript that could not be written (a full disk) is a failed run.
  if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
    std::fputs("gemino: the console output could not be written\n", stderr);
    std::clearerr(stdout);
    exit_code = 2;
  }
  std::fflush(stderr);
  console_hooks().program_end(exit_code);
  throw StopRun{exit_code};
}

void runtime_error(std::string_view statement, int32_t unit, std::string_view message) {
  detail::report_and_stop(statement, detail::unit_text(unit), message);
}

int32_t run_program(const std::function<void()>& body) {
  try {
    body();
    stop(0);
  } catch (const StopRun& s) {
    return s.exit_code;
  } catch (const std::exception& e) {
    // Nothing the input holds may end the run unexplained (memory running out included):
    // say why, then stop as every failed run does.
    std::fprintf(stderr, "gemino: the run stopped: %s\n", e.what());
    try {
      stop(2);
    } catch (const StopRun& s) {
      return s.exit_code;
    }
  }
}

}  // namespace recfmt
