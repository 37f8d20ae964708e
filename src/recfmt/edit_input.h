// The editors of input fields: pure functions from the characters of one field to a
// value. Each returns false when the field holds a character its descriptor does not
// accept (or a number beyond the item's range); the item is then left unchanged.
#pragma once

#include <cstdint>
#include <string_view>

namespace recfmt {

// Iw: blanks are ignored, an optional leading sign, digits. An empty field, or one
// holding only a sign, reads as 0.
bool read_integer_field(std::string_view field, int32_t& value);
// Fw.d (and E): like I, plus a point (which overrides d; without one the last d digits
// are the decimals) and an exponent (E or D and a signed integer, or a sign alone).
bool read_real_field(std::string_view field, int32_t d, float& value);
// Lw: blanks, an optional point, then T or F; the rest of the field is ignored.
bool read_logical_field(std::string_view field, int32_t& value);

inline constexpr std::string_view illegal_numeric = "Illegal character in numeric input";
inline constexpr std::string_view illegal_logical = "Illegal character in logical input";

}  // namespace recfmt
