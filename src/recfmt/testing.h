// A console over memory for tests of code that talks to the console units: input is
// served line by line from a string, output is collected, and the end of the program is
// recorded instead of waiting for anything.
#pragma once

#include <cstdint>
#include <string>

#include "recfmt/hooks.h"

namespace recfmt::testing {

class MemoryConsole {
 public:
  // Installs itself as the console hooks; only one may be alive at a time.
  explicit MemoryConsole(std::string input = {});
  // Restores the hooks installed before it and closes every unit.
  ~MemoryConsole();
  MemoryConsole(const MemoryConsole&) = delete;
  MemoryConsole& operator=(const MemoryConsole&) = delete;

  // Everything written to the console units, records ending with CR LF.
  const std::string& output() const;
  void clear_output();
  // Replaces the input still to be read. Lines end at LF; a last line without one is
  // still a line; once the text is used up every read is the end of input.
  void set_input(std::string input);
  // Number of ProgramEnd calls and the last exit code passed.
  int32_t program_end_calls() const;
  int32_t last_exit_code() const;
  int32_t pump_calls() const;
};

// Closes every unit, so each test starts with only the console connected.
void reset_units();

}  // namespace recfmt::testing
