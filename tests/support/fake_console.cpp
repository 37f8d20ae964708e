// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/fake_console.h"

#include <algorithm>
#include <cstring>
#include <deque>

#include "recfmt/hooks.h"
#include "support/records.h"

namespace test_support {
namespace {

struct Script {
  std::deque<std::string> replies;
  std::function<void()> on_read;
  std::string output;
  int32_t ends = 0;
  int32_t end_code = -1;
  int32_t pumps = 0;
  recfmt::ConsoleHooks saved{};
};

Script& script() {
  static Script s;
  return s;
}

// The next reply with CR LF, cut to the buffer; a reply longer than the buffer keeps the
// record end.
int32_t script_read(char* buffer, int32_t capacity, int32_t /*unit_id*/) {
  Script& s = script();
  if (s.on_read) s.on_read();
  if (s.replies.empty() || capacity < 2) return 0;
  const std::string& reply = s.replies.front();
  const std::size_t n = std::min(reply.size(), static_cast<std::size_t>(capacity - 2));
  std::memcpy(buffer, reply.data(), n);
  buffer[n] = '\r';
  buffer[n + 1] = '\n';
  s.replies.pop_front();
  return static_cast<int32_t>(n + 2);
}

int32_t script_write(const char* bytes, int32_t count, int32_t /*handle*/, int32_t /*unit_id*/) {
  script().output.append(bytes, static_cast<std::size_t>(count));
  return count;
}

void script_end(int32_t code) {
  ++script().ends;
  script().end_code = code;
}

void script_pump() {
  ++script().pumps;
}

}  // namespace

FakeConsole::FakeConsole(std::vector<std::string> replies) {
  Script& s = script();
  const recfmt::ConsoleHooks previous = recfmt::console_hooks();
  s = Script{};
  s.saved = previous;
  for (std::string& r : replies) s.replies.push_back(std::move(r));
  recfmt::ConsoleHooks hooks = recfmt::default_console_hooks();
  hooks.console_read = script_read;
  hooks.console_write = script_write;
  hooks.program_end = script_end;
  hooks.pump_messages = script_pump;
  recfmt::install_console_hooks(hooks);
}

FakeConsole::~FakeConsole() {
  recfmt::install_console_hooks(script().saved);
}

const std::string& FakeConsole::output() const {
  return script().output;
}
std::vector<std::string> FakeConsole::lines() const {
  return records_of(script().output);
}
void FakeConsole::clear_output() {
  script().output.clear();
}

void FakeConsole::set_input(std::string_view text) {
  std::deque<std::string>& replies = script().replies;
  replies.clear();
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    replies.emplace_back(text.substr(0, lf));
    text.remove_prefix(lf == std::string_view::npos ? text.size() : lf + 1);
  }
}
std::size_t FakeConsole::replies_left() const {
  return script().replies.size();
}
void FakeConsole::on_read(std::function<void()> action) {
  script().on_read = std::move(action);
}

int32_t FakeConsole::end_calls() const {
  return script().ends;
}
int32_t FakeConsole::end_code() const {
  return script().end_code;
}
int32_t FakeConsole::pump_calls() const {
  return script().pumps;
}

}  // namespace test_support
