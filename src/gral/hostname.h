// SPDX-License-Identifier: GPL-3.0-or-later
// The kind of system the program runs on (not the machine's network name).
#pragma once

#include <span>
#include <string_view>

namespace gral {

// "<system>OS-<processor>" for the system this program was built for, e.g. "LinuxOS-x86_64"
// or "WindowsOS-ix86".
std::string_view system_description();

// Sets hname to system_description(), blank padded or cut to its length.
void hostname(std::span<char> hname);

}  // namespace gral
