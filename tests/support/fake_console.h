// SPDX-License-Identifier: GPL-3.0-or-later
// A console for tests of code that talks to the console units: replies are served line by
// line from a script, everything written is kept, and the end of the program is recorded
// instead of waiting for anything.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "recfmt/stop.h"

namespace test_support {

class FakeConsole {
 public:
  // Installs itself as the console hooks; one may be alive at a time (a second one alive
  // at once shares, and resets, the script). The units stay as they are.
  explicit FakeConsole(std::vector<std::string> replies = {});
  // Puts back the hooks it replaced.
  ~FakeConsole();
  FakeConsole(const FakeConsole&) = delete;
  FakeConsole& operator=(const FakeConsole&) = delete;

  // Everything written to the console units, records ending with CR LF.
  const std::string& output() const;
  // The records written so far, as records_of gives them.
  std::vector<std::string> lines() const;
  void clear_output();

  // Replaces the replies still to be read by the lines of `text`: lines end at LF, a last
  // line without one is still a line. Once the replies are used up every read is the end
  // of input.
  void set_input(std::string_view text);
  std::size_t replies_left() const;
  // Called just before each reply is handed over (e.g. to change the file system).
  void on_read(std::function<void()> action);

  // The calls of the program-end hook, and the exit code of the last (-1 before any).
  int32_t end_calls() const;
  int32_t end_code() const;
  // The calls of the message pump: one at the start of every console statement.
  int32_t pump_calls() const;
};

// Runs body and returns the exit code of the stop it ends with, or -1 when it returns.
template <typename Body>
int32_t exit_code_of(Body&& body) {
  try {
    body();
  } catch (const recfmt::StopRun& stop) {
    return stop.exit_code;
  }
  return -1;
}

}  // namespace test_support
