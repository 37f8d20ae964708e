// SPDX-License-Identifier: GPL-3.0-or-later
// Asking the user for one character value, with a default that a bare Return accepts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace gral {

// Asks for vnam on the console and sets v to the reply, or to vdef when the reply is empty
// or begins with a blank (vdef may be v itself). The value taken is always echoed. ierr is
// set to 0; a failed console read is reported and the question asked again.
void inchardef(std::span<char> v, std::string_view vnam, std::string_view vdef, int32_t& ierr);

// The same for a value of any length (a file name): v is the whole reply (up to
// reply_capacity bytes) without its trailing blanks. The echo pads it with blanks to
// shown_width, as a fixed-length value of that width would show.
void inchardef(std::string& v, std::string_view vnam, std::string_view vdef, int32_t& ierr,
               std::size_t shown_width);

// The longest reply the variable-length form takes whole.
inline constexpr std::size_t reply_capacity = 65536;

}  // namespace gral
