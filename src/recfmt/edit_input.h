// SPDX-License-Identifier: GPL-3.0-or-later
// The editors of input fields: pure functions from the characters of one field to a
// value. The numeric ones return the failure message (empty when the value was read): a
// character the descriptor does not accept, or a number beyond the item's range. The
// item is left unchanged on failure.
#pragma once

#include <cstdint>
#include <string_view>

namespace recfmt {

// Iw: blanks are ignored, an optional leading sign, digits. An empty field, or one
// holding only a sign, reads as 0.
std::string_view read_integer_field(std::string_view field, int32_t& value);
// Fw.d (and E): like I, plus a point (which overrides d; without one the last d digits
// are the decimals) and an exponent (E or D and a signed integer, or a sign alone).
std::string_view read_real_field(std::string_view field, int32_t d, float& value);
// Lw: blanks, an optional point, then T or F; the rest of the field is ignored.
bool read_logical_field(std::string_view field, int32_t& value);

inline constexpr std::string_view illegal_numeric = "Illegal character in numeric input";
inline constexpr std::string_view illegal_logical = "Illegal character in logical input";
inline constexpr std::string_view numeric_overflow = "Numeric overflow in input";

}  // namespace recfmt
