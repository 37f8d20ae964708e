// SPDX-License-Identifier: GPL-3.0-or-later
// The non-blank part of a text, for showing names without their padding.
#pragma once

#include <cstdint>
#include <string_view>

namespace gral {

// On return text(i1..i2), 1-based and inclusive, is the text without its leading and
// trailing blanks. An all-blank text gives i1 = i2 = its length (one blank is kept); an
// empty text gives i1 = 1, i2 = 0. Only the blank counts as blank.
void textlen(int32_t& i1, int32_t& i2, std::string_view text);

// The part textlen finds, as a view into text.
std::string_view nonblank(std::string_view text);

}  // namespace gral
