// SPDX-License-Identifier: GPL-3.0-or-later
// How a desktop run ended, and what is left to say so: the line that closes a report
// the run did not finish, the status bar's words and the program's exit code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace desktop {

enum class RunEnd {
  completed,  // the report is whole
  stopped,    // the user ended the run before its report was whole (Stop, Exit)
  failed,     // the run stopped itself (a file it could not read, data it cannot take)
};

// The report's own language: the last line of a report the run did not finish.
inline constexpr std::string_view incomplete_line = "*** RAPPORT INCOMPLET : calcul interrompu ***";

// The exit code of the desktop program when it ended a run before its end.
inline constexpr int32_t stopped_exit_code = 3;

RunEnd run_end(bool report_complete, bool stop_requested);

// Appends the incomplete line (CR LF, as every record of the report) to the report at
// path. False when there is no such file (the run stopped before opening it) or it
// cannot be written; a report already ending with the line is left as it is.
bool mark_incomplete(const std::string& path);

// Where the run's reading failed, from its console lines: the run-time error's line
// that names the file ("File data.txt, line 12, column 7 ...") without its "? ", or the
// error's message when no file was named; "" when the console shows no such error.
std::string failure_place(const std::vector<std::string>& console_lines);

// The status bar's words for a run that did not complete; report is the report's name
// as typed ("" before the dialogue reached it).
std::string end_status(RunEnd end, const std::string& report, const std::string& place);

// The program's exit code at the end of the session: stopped_exit_code when a run was
// ended early by the user, else the exit code of the last run.
int32_t session_exit_code(bool any_stopped, int32_t last_exit_code);

}  // namespace desktop
