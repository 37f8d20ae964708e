// SPDX-License-Identifier: GPL-3.0-or-later
// Connecting a unit to a named text file, asking for the name and retrying on failure.
#pragma once

#include <cstdint>
#include <string>

#include "recfmt/items.h"

namespace gral {

// Opens unit iu on file fnam with status stat ("old", "unknown" or "replace", any case),
// announcing the file's role expl. inter selects the mode:
//  0     ask for the name before every attempt (the current name is the default) and ask
//        again after a failure, as often as needed;
//  1     no question; a failure is reported in an error banner and ends the run;
//  other no question; a failure is reported in a warning banner and the same name retried.
// A name is used whole, however long; where it is shown it is padded to 30 columns.
// Only a regular file opens: a directory, a device or a FIFO would hang the run or feed
// it endless records. A file to be written (status other than "old") that is already
// open as the file of another role is refused, and that role named: the run would
// destroy its own input. On return fnam holds the name that was opened.
void opef2(std::string& fnam, const recfmt::Text<20>& expl, int32_t iu, const recfmt::Text<7>& stat,
           int32_t inter);

// Exit code of a run ended by a file that could not be opened in mode 1.
inline constexpr int32_t open_failure_exit_code = 2;

}  // namespace gral
