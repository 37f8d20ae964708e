// SPDX-License-Identifier: GPL-3.0-or-later
// The console hooks and their terminal defaults.
#include <fcntl.h>

#include <cerrno>
#include <cstdio>

#include "recfmt/hooks.h"

namespace recfmt {
namespace {

// One line of standard input up to its line feed, stored with CR LF. A line longer than
// the buffer is not read further: the count is then negative and the run ends, however
// long (or endless) the rest of it may be.
int32_t terminal_read(char* buffer, int32_t capacity, int32_t /*unit_id*/) {
  std::fflush(stdout);
  std::fflush(stderr);
  if (buffer == nullptr || capacity < 2) return 0;
  const int32_t room = capacity - 2;
  int32_t n = 0;
  int c = 0;
  bool any = false;
  while ((c = std::getchar()) != EOF) {
    any = true;
    if (c == '\n') break;
    if (n == room) return -1;
    buffer[n++] = static_cast<char>(c);
  }
  if (!any) return 0;
  buffer[n++] = '\r';
  buffer[n++] = '\n';
  return n;
}

int32_t terminal_write(const char* bytes, int32_t count, int32_t handle, int32_t /*unit_id*/) {
  if (count <= 0 || bytes == nullptr) return 0;
  std::FILE* f = handle == stderr_handle ? stderr : stdout;
  const std::size_t done = std::fwrite(bytes, 1, static_cast<std::size_t>(count), f);
  // A record that only reached the buffer may still fail later: ferror keeps the news.
  return done == static_cast<std::size_t>(count) && std::ferror(f) == 0 ? count : 0;
}

void terminal_program_end(int32_t /*exit_code*/) {}
void terminal_pump_messages() {}
int32_t terminal_open_unit_window(int32_t, std::string_view, std::string_view) {
  return 1;
}
int32_t terminal_close_unit_window(int32_t) {
  return 1;
}

ConsoleHooks& installed() {
  static ConsoleHooks hooks = default_console_hooks();
  return hooks;
}

}  // namespace

void open_closed_standard_streams() {
  for (int fd = 0; fd <= 2; ++fd) {
    if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
    // The lowest free descriptor is the closed one: the others below it are open.
    if (::open("/dev/null", fd == 0 ? O_RDONLY : O_WRONLY) != fd) return;
  }
}

ConsoleHooks default_console_hooks() {
  return ConsoleHooks{terminal_read,
                      terminal_write,
                      terminal_program_end,
                      terminal_pump_messages,
                      terminal_open_unit_window,
                      terminal_close_unit_window};
}

void install_console_hooks(const ConsoleHooks& hooks) {
  // A hook left empty keeps the terminal behaviour rather than crashing on first use.
  const ConsoleHooks d = default_console_hooks();
  ConsoleHooks& h = installed();
  h.console_read = hooks.console_read ? hooks.console_read : d.console_read;
  h.console_write = hooks.console_write ? hooks.console_write : d.console_write;
  h.program_end = hooks.program_end ? hooks.program_end : d.program_end;
  h.pump_messages = hooks.pump_messages ? hooks.pump_messages : d.pump_messages;
  h.open_unit_window = hooks.open_unit_window ? hooks.open_unit_window : d.open_unit_window;
  h.close_unit_window = hooks.close_unit_window ? hooks.close_unit_window : d.close_unit_window;
}

const ConsoleHooks& console_hooks() {
  return installed();
}

}  // namespace recfmt
