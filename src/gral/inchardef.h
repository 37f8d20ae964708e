// Asking the user for one character value, with a default that a bare Return accepts.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace gral {

// Asks for vnam on the console and sets v to the reply, or to vdef when the reply is empty
// or begins with a blank (vdef may be v itself). The value taken is always echoed. ierr is
// set to 0; a failed console read is reported and the question asked again.
void inchardef(std::span<char> v, std::string_view vnam, std::string_view vdef, int32_t& ierr);

}  // namespace gral
