#include "recfmt/testing.h"

#include <algorithm>
#include <cstring>

#include "recfmt/units.h"

namespace recfmt::testing {
namespace {

struct Memory {
  std::string input;
  std::size_t next = 0;
  std::string output;
  int32_t ends = 0;
  int32_t exit_code = -1;
  int32_t pumps = 0;
  ConsoleHooks saved{};
};

Memory& memory() {
  static Memory m;
  return m;
}

int32_t memory_read(char* buffer, int32_t capacity, int32_t) {
  Memory& m = memory();
  if (m.next >= m.input.size() || capacity < 2) return 0;
  std::size_t lf = m.input.find('\n', m.next);
  if (lf == std::string::npos) lf = m.input.size();
  const std::size_t n = std::min(lf - m.next, static_cast<std::size_t>(capacity - 2));
  std::memcpy(buffer, m.input.data() + m.next, n);
  m.next = std::min(lf + 1, m.input.size());
  buffer[n] = '\r';
  buffer[n + 1] = '\n';
  return static_cast<int32_t>(n + 2);
}

int32_t memory_write(const char* bytes, int32_t count, int32_t, int32_t) {
  memory().output.append(bytes, static_cast<std::size_t>(count));
  return count;
}

void memory_end(int32_t code) {
  ++memory().ends;
  memory().exit_code = code;
}

void memory_pump() {
  ++memory().pumps;
}

}  // namespace

MemoryConsole::MemoryConsole(std::string input) {
  Memory& m = memory();
  m = Memory{};
  m.saved = console_hooks();
  m.input = std::move(input);
  ConsoleHooks hooks = default_console_hooks();
  hooks.console_read = memory_read;
  hooks.console_write = memory_write;
  hooks.program_end = memory_end;
  hooks.pump_messages = memory_pump;
  install_console_hooks(hooks);
  close_all();
}

MemoryConsole::~MemoryConsole() {
  close_all();
  install_console_hooks(memory().saved);
}

const std::string& MemoryConsole::output() const {
  return memory().output;
}
void MemoryConsole::clear_output() {
  memory().output.clear();
}
void MemoryConsole::set_input(std::string input) {
  memory().input = std::move(input);
  memory().next = 0;
}
int32_t MemoryConsole::program_end_calls() const {
  return memory().ends;
}
int32_t MemoryConsole::last_exit_code() const {
  return memory().exit_code;
}
int32_t MemoryConsole::pump_calls() const {
  return memory().pumps;
}

void reset_units() {
  close_all();
}

}  // namespace recfmt::testing
