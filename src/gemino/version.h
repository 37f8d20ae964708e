// SPDX-License-Identifier: GPL-3.0-or-later
// The program's name and version, as the command line and the result files give them.
#pragma once

#include <string_view>

namespace gemino {

inline constexpr std::string_view program_name = "gemino";
inline constexpr std::string_view program_version = "1.2";

// The licence, as an SPDX identifier, and the notice the programs print after their name
// and version (--version, the About box). The full text is the LICENSE file.
inline constexpr std::string_view licence_id = "GPL-3.0-or-later";
inline constexpr std::string_view copyright_line = "Copyright (C) 2026 Gemino maintainers";
inline constexpr std::string_view licence_notice =
    "Licence GPL-3.0-or-later: GNU GPL version 3 or later "
    "<https://www.gnu.org/licenses/gpl.html>.\n"
    "This is free software: you are free to change and redistribute it.\n"
    "There is NO WARRANTY, to the extent permitted by law.\n";

}  // namespace gemino
