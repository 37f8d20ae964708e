// The program's name and version, as the command line and the result files give them.
#pragma once

#include <string_view>

namespace gemino {

inline constexpr std::string_view program_name = "gemino";
inline constexpr std::string_view program_version = "1.2";

}  // namespace gemino
