// SPDX-License-Identifier: GPL-3.0-or-later
// Banners that frame the console output of the library routines: a routine banner around a
// routine's normal report, error and warning banners around the explanation of a failure.
// The heads take the speaking routine's identity (only its name is shown); the tails may
// pause for Return, as the shared block says.
#pragma once

#include <string_view>

namespace gral {

// Routine banner on the standard output unit.
void submenuhead(std::string_view progname, std::string_view version, std::string_view date);
void menutail();

// Error banner on the error output unit.
void errorhead(std::string_view progname, std::string_view version, std::string_view date);
void errortail00();

// Warning banner on the error output unit.
void warninghead(std::string_view progname, std::string_view version, std::string_view date);
void warningtail00();

}  // namespace gral
