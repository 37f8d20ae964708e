// SPDX-License-Identifier: GPL-3.0-or-later
// The six console hooks through which console records pass. The defaults are the
// plain terminal (standard input and output); the windowed program installs its own
// at start-up. Unit ids as passed to the hooks: standard input -2 (unit 5, `*` in a
// READ, unit 9), standard output -3 (unit 6, `*` in a WRITE, unit 9), standard error -4
// (unit 0); a window unit passes its own positive unit number.
#pragma once

#include <cstdint>
#include <string_view>

namespace recfmt {

inline constexpr int32_t stdin_id = -2;
inline constexpr int32_t stdout_id = -3;
inline constexpr int32_t stderr_id = -4;

// Runtime handle values passed to ConsoleWrite.
inline constexpr int32_t stdout_handle = -11;
inline constexpr int32_t stderr_handle = -12;
inline constexpr int32_t window_handle = -1;

struct ConsoleHooks {
  // Stores the next input record into buffer, ending with CR LF, and returns the number
  // of bytes stored; 0 means end of input, a negative count a line longer than the
  // capacity (the run then ends).
  int32_t (*console_read)(char* buffer, int32_t capacity, int32_t unit_id);
  // Writes count bytes (a record's text followed by CR LF); returns the number of
  // bytes written, 0 on failure.
  int32_t (*console_write)(const char* bytes, int32_t count, int32_t handle, int32_t unit_id);
  // Called once when the program stops, after every unit was closed.
  void (*program_end)(int32_t exit_code);
  // Called at the start of every input/output statement.
  void (*pump_messages)();
  // OPEN with ACCESS='WINDOW...': returns 0 on success.
  int32_t (*open_unit_window)(int32_t unit_id, std::string_view title, std::string_view access);
  // CLOSE of a window unit: returns 0.
  int32_t (*close_unit_window)(int32_t unit_id);
};

// Opens /dev/null on each of descriptors 0, 1 and 2 that is closed, so that no file the
// run opens later takes the place of a standard stream (console text written into the
// parameter file). The first thing a program does.
void open_closed_standard_streams();

// Whether an OPEN's access value asks for a window unit: its first six characters
// spell WINDOW in any case ("WINDOW,600,300", "window").
bool is_window_access(std::string_view access);

// The terminal defaults: stdin, stdout, nothing, nothing, refuse, error.
ConsoleHooks default_console_hooks();
// Replaces all six hooks.
void install_console_hooks(const ConsoleHooks& hooks);
const ConsoleHooks& console_hooks();

}  // namespace recfmt
