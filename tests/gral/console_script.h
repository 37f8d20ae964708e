// A console for tests: replies come from a script of lines, everything written is kept.
// Installing it replaces the console hooks until the object goes out of scope.
#pragma once

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "recfmt/hooks.h"
#include "recfmt/stop.h"

namespace gral_test {

class ScriptedConsole {
 public:
  explicit ScriptedConsole(std::vector<std::string> replies = {})
      : previous_(recfmt::console_hooks()) {
    state() = State{};
    for (std::string& r : replies) state().replies.push_back(std::move(r));
    recfmt::install_console_hooks(recfmt::ConsoleHooks{&read, &write, &end, &pump, &open, &close});
  }
  // Puts back the hooks it replaced. Consoles nest only in sequence: a second one alive
  // at the same time shares (and resets) the script.
  ~ScriptedConsole() { recfmt::install_console_hooks(previous_); }
  ScriptedConsole(const ScriptedConsole&) = delete;
  ScriptedConsole& operator=(const ScriptedConsole&) = delete;

  // Everything written so far, CR LF record ends included.
  const std::string& raw() const { return state().output; }

  // The records written so far, without their CR LF ends. A trailing piece that is not a
  // complete record is returned as a last line with a "<no CR LF>" mark.
  std::vector<std::string> lines() const {
    std::vector<std::string> out;
    std::string_view rest = state().output;
    for (std::size_t p = rest.find("\r\n"); p != std::string_view::npos; p = rest.find("\r\n")) {
      out.emplace_back(rest.substr(0, p));
      rest.remove_prefix(p + 2);
    }
    if (!rest.empty()) out.push_back(std::string(rest) + "<no CR LF>");
    return out;
  }

  void clear_output() { state().output.clear(); }
  std::size_t replies_left() const { return state().replies.size(); }
  // Exit code handed to the program-end hook, -1 while the program has not ended.
  int32_t end_code() const { return state().end_code; }
  // Called just before each reply is handed over (e.g. to change the file system).
  void on_read(std::function<void()> action) { state().on_read = std::move(action); }

 private:
  recfmt::ConsoleHooks previous_;
  struct State {
    std::deque<std::string> replies;
    std::string output;
    int32_t end_code = -1;
    std::function<void()> on_read;
  };
  static State& state() {
    static State s;
    return s;
  }

  static int32_t read(char* buffer, int32_t capacity, int32_t /*unit_id*/) {
    State& s = state();
    if (s.on_read) s.on_read();
    if (s.replies.empty()) return 0;
    const std::string line = s.replies.front() + "\r\n";
    s.replies.pop_front();
    const auto n = std::min<std::size_t>(line.size(), static_cast<std::size_t>(capacity));
    std::copy_n(line.data(), n, buffer);
    return static_cast<int32_t>(n);
  }
  static int32_t write(const char* bytes, int32_t count, int32_t /*handle*/, int32_t /*unit_id*/) {
    state().output.append(bytes, static_cast<std::size_t>(count));
    return count;
  }
  static void end(int32_t exit_code) { state().end_code = exit_code; }
  static void pump() {}
  static int32_t open(int32_t, std::string_view, std::string_view) { return 1; }
  static int32_t close(int32_t) { return 0; }
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

}  // namespace gral_test
