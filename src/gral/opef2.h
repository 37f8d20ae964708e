// Connecting a unit to a named text file, asking for the name and retrying on failure.
#pragma once

#include <cstdint>

#include "recfmt/items.h"

namespace gral {

// Opens unit iu on file fnam with status stat ("old" or "unknown", any case), announcing
// the file's role expl. inter selects the mode:
//  0     ask for the name before every attempt (the current name is the default) and ask
//        again after a failure, as often as needed;
//  1     no question; a failure is reported in an error banner and ends the run;
//  other no question; a failure is reported in a warning banner and the same name retried.
// On return fnam holds the name that was opened.
void opef2(recfmt::Text<30>& fnam, const recfmt::Text<20>& expl, int32_t iu,
           const recfmt::Text<7>& stat, int32_t inter);

// Exit code of a run ended by a file that could not be opened in mode 1.
inline constexpr int32_t open_failure_exit_code = 2;

}  // namespace gral
