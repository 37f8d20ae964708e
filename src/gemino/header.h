// SPDX-License-Identifier: GPL-3.0-or-later
// The framed program header that opens every run, ending with a pause for Return.
#pragma once

#include "recfmt/items.h"

namespace gemino {

// Writes the header for progname (shown without its surrounding blanks), version and date
// (shown whole) with the date, time and system of the run, then waits for Return.
void geminohead(const recfmt::Text<10>& progname, const recfmt::Text<10>& version,
                const recfmt::Text<10>& date);

}  // namespace gemino
