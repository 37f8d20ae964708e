// SPDX-License-Identifier: GPL-3.0-or-later
// The numeric and text editors of output fields: pure functions from a value and its
// field description to characters, appended to out. A value too wide for its field
// gives w asterisks.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace recfmt {

// The decimal digits a real is shown from: value = 0.d1 d2 ... d8 x 10^exponent, with
// d1 nonzero unless the value is zero. Every digit after the eighth is taken as 0 (the
// exact binary value is cut, not rounded, to eight significant digits).
struct Digits {
  char d[8];
  int32_t exponent = 0;
  bool negative = false;
  bool zero = false;
};
Digits expand_digits(float value);

void edit_integer(std::string& out, int32_t value, int32_t w);
void edit_fixed(std::string& out, float value, int32_t w, int32_t d);
void edit_exponent(std::string& out, float value, int32_t w, int32_t d);
void edit_logical(std::string& out, bool value, int32_t w);
// w < 0: the whole item.
void edit_alpha(std::string& out, std::string_view value, int32_t w);

// The list-directed forms, leading blanks and sign included: "  1.50000", " -1.57080",
// "  1.234568E-02", "  0.000000", "  12", "  T".
void edit_list_real(std::string& out, float value);
void edit_list_integer(std::string& out, int32_t value);
void edit_list_logical(std::string& out, bool value);

}  // namespace recfmt
