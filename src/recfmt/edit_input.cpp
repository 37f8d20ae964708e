// SPDX-License-Identifier: GPL-3.0-or-later
#include "recfmt/edit_input.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string>

namespace recfmt {
namespace {

bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

std::string_view read_integer_field(std::string_view field, int32_t& value) {
  bool negative = false;
  bool sign_allowed = true;
  int64_t magnitude = 0;
  for (char c : field) {
    if (c == ' ') continue;
    if ((c == '+' || c == '-') && sign_allowed) {
      negative = c == '-';
      sign_allowed = false;
      continue;
    }
    if (!is_digit(c)) return illegal_numeric;
    sign_allowed = false;
    // Digits beyond what a 32-bit integer holds still have to be checked for bad
    // characters; the value itself is already known to overflow.
    if (magnitude <= int64_t{2147483648}) magnitude = magnitude * 10 + (c - '0');
  }
  if (magnitude > (negative ? int64_t{2147483648} : int64_t{2147483647})) return numeric_overflow;
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return {};
}

std::string_view read_real_field(std::string_view field, int32_t d, float& value) {
  std::string mantissa;  // every digit, the point removed
  bool negative = false;
  bool seen_sign = false, seen_digit = false, seen_point = false;
  int32_t decimals = 0;
  std::size_t i = 0;
  for (; i < field.size(); ++i) {
    const char c = field[i];
    if (c == ' ') continue;
    if ((c == '+' || c == '-') && !seen_sign && !seen_digit && !seen_point) {
      negative = c == '-';
      seen_sign = true;
      continue;
    }
    if (is_digit(c)) {
      seen_digit = true;
      if (!(mantissa.empty() && c == '0')) mantissa.push_back(c);
      if (seen_point) ++decimals;
      continue;
    }
    if (c == '.' && !seen_point) {
      seen_point = true;
      continue;
    }
    break;  // the exponent, or a bad character
  }
  int64_t exponent = 0;
  if (i < field.size()) {
    char c = field[i];
    const bool letter = c == 'E' || c == 'e' || c == 'D' || c == 'd';
    if (!letter && c != '+' && c != '-') return illegal_numeric;
    if (letter) ++i;
    bool exponent_negative = false;
    bool exponent_sign = false;
    bool exponent_digit = false;
    for (; i < field.size(); ++i) {
      c = field[i];
      if (c == ' ') continue;
      if ((c == '+' || c == '-') && !exponent_sign) {
        exponent_negative = c == '-';
        exponent_sign = true;
        continue;
      }
      if (!is_digit(c)) return illegal_numeric;
      exponent_sign = true;  // no sign after the first digit
      exponent_digit = true;
      // Far beyond any float: keep the number bounded, the value is 0 or an overflow.
      if (exponent < 1000000) exponent = exponent * 10 + (c - '0');
    }
    // An exponent letter or sign promises digits: "0.5E" or "1.E-" is not a number.
    if (!exponent_digit) return illegal_numeric;
    if (exponent_negative) exponent = -exponent;
  }
  if (mantissa.empty()) {
    value = 0.0f;
    return {};
  }
  // Leading zeros were not kept, but those after the point still count as decimals.
  exponent -= seen_point ? decimals : d;
  const std::string text = mantissa + "e" + std::to_string(exponent);
  char* end = nullptr;
  const float v = std::strtof(text.c_str(), &end);
  if (!std::isfinite(v)) return numeric_overflow;
  value = negative ? -v : v;
  return {};
}

bool read_logical_field(std::string_view field, int32_t& value) {
  std::size_t i = 0;
  while (i < field.size() && field[i] == ' ') ++i;
  if (i < field.size() && field[i] == '.') ++i;
  if (i >= field.size()) return false;
  const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(field[i])));
  if (c != 'T' && c != 'F') return false;
  value = c == 'T' ? 1 : 0;
  return true;
}

}  // namespace recfmt
