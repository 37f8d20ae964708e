// SPDX-License-Identifier: GPL-3.0-or-later
// Unfinished temporary files are removed when SIGINT, SIGTERM or SIGHUP ends the process.
// The registry belongs to the process: fixed slots of fixed size, so that the signal
// handler neither allocates nor locks. After the removal the handler restores the default
// action and raises the signal again, so that the parent sees the process ended by it
// (a shell reports 130, 143 or 129).
#pragma once

namespace safe_file {

// Sets the handlers; a signal the process was started with ignored (nohup) stays ignored.
// Calling it again changes nothing.
void install_interrupt_cleanup();

// Registers a temporary that exists; returns its slot, or -1 when the path is too long or
// every slot is taken (the file is then left to its recognisable name).
int register_temporary(const char* path);
// Forgets a registered temporary (after it was renamed or removed).
void release_temporary(int slot);

}  // namespace safe_file
