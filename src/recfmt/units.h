// SPDX-License-Identifier: GPL-3.0-or-later
// The unit table: unit numbers connected to files or to the console.
//
// Units 5 and `*` (input) and 6, 0 and `*` (output) are the console; unit 9 behaves as
// `*`. Console records travel through the console hooks (hooks.h). Every other unit is
// connected by open() to a named file.
#pragma once

#include <cstdint>
#include <string_view>

namespace recfmt {

// OPEN (UNIT=unit, FILE=file, STATUS=status, ACCESS=access, IOSTAT=...)
// Returns 0 on success, a nonzero status on failure (never stops the run).
//  - Leading and trailing blanks of the name are ignored; a blank name, or one holding
//    '?' or '*', cannot be opened (and no file is created).
//  - status "old" (any case) requires the file to exist; "unknown" opens it or creates it;
//    "replace" opens it or creates it and cuts it to nothing.
//  - The file is opened for reading and writing and positioned at its start. An "old"
//    file that may be read but not written is opened for reading only (its writes
//    fail); with any other status a file that cannot be written fails to open. When
//    records are written, the file is cut after the last record written.
//  - A file already connected to another unit (the same file under any name) opens only
//    with status "old": writing to it would destroy what is being read.
//  - A directory never opens; opening never waits for the other end of a FIFO.
//  - An access value beginning with "WINDOW" (first six characters) asks the console
//    hooks for a window unit (OpenUnitWindow); the unit then reads and writes through
//    ConsoleRead and ConsoleWrite with its own positive number as unit id.
int32_t open(int32_t unit, std::string_view file, std::string_view status,
             std::string_view access = {});

// The unit a file is connected to (the same file under any name), 0 if none.
int32_t unit_of_file(std::string_view file);

// CLOSE (UNIT=unit). Closing an unconnected unit does nothing.
void close(int32_t unit);

// Closes every connected unit (flushing files). Used by stop().
void close_all();

// Whether a unit is connected (console units always are).
bool is_connected(int32_t unit);

}  // namespace recfmt
