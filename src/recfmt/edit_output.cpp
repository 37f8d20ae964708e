// SPDX-License-Identifier: GPL-3.0-or-later
#include "recfmt/edit_output.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace recfmt {
namespace {

// Kept digits of a rounded value: value = 0.k1 k2 ... x 10^exponent.
struct Rounded {
  std::string digits;
  int32_t exponent = 0;
  bool all_zero = true;
};

char digit_at(const Digits& g, int32_t i) {
  return (i >= 0 && i < 8) ? g.d[i] : '0';
}

// Keeps the first n significant digits (n may be 0 or negative, or exceed the eight
// digits held), adding one to the last kept digit when the first dropped one is 5 or
// more. A carry out of the first digit raises the exponent and keeps one more digit, so
// the count of digits after the point stays the same.
Rounded round_to(const Digits& g, int32_t n) {
  Rounded r;
  r.exponent = g.exponent;
  if (g.zero || n < 0) {
    // Nothing significant reaches the shown digits.
    r.digits.assign(static_cast<std::size_t>(n > 0 ? n : 0), '0');
    return r;
  }
  r.digits.reserve(static_cast<std::size_t>(n) + 1);
  for (int32_t i = 0; i < n; ++i) r.digits.push_back(digit_at(g, i));
  if (digit_at(g, n) >= '5') {
    int32_t i = n - 1;
    while (i >= 0 && r.digits[static_cast<std::size_t>(i)] == '9') {
      r.digits[static_cast<std::size_t>(i)] = '0';
      --i;
    }
    if (i >= 0) {
      ++r.digits[static_cast<std::size_t>(i)];
    } else {
      r.digits.insert(r.digits.begin(), '1');
      ++r.exponent;
    }
  }
  for (char c : r.digits) {
    if (c != '0') r.all_zero = false;
  }
  return r;
}

void stars(std::string& out, int32_t w) {
  out.append(static_cast<std::size_t>(w), '*');
}

void pad_left(std::string& out, int32_t w, std::string_view body) {
  out.append(static_cast<std::size_t>(w) - body.size(), ' ');
  out.append(body);
}

// Infinity and not-a-number have no digits to show: the field is filled with asterisks,
// as for any value the field cannot hold.
bool edit_special(std::string& out, float value, int32_t w) {
  if (std::isfinite(value)) return false;
  stars(out, w);
  return true;
}

void append_exponent(std::string& s, int32_t e, bool with_letter) {
  if (with_letter) s.push_back('E');
  s.push_back(e < 0 ? '-' : '+');
  const int32_t a = std::abs(e);
  if (a >= 100) s.push_back(static_cast<char>('0' + a / 100));
  s.push_back(static_cast<char>('0' + a / 10 % 10));
  s.push_back(static_cast<char>('0' + a % 10));
}

}  // namespace

Digits expand_digits(float value) {
  Digits g;
  g.negative = std::signbit(value);
  if (value == 0.0f) {
    g.zero = true;
    for (char& c : g.d) c = '0';
    return g;
  }
  // 120 digits after the first hold the exact expansion of every float, so the
  // conversion's own rounding never reaches the eight digits taken here. to_chars always
  // writes "d.ddd...e-nn", whatever the process locale says a decimal point looks like
  // (the windowed program runs in the user's locale, where it may be a multibyte sign).
  char buf[160];
  const std::to_chars_result r =
      std::to_chars(buf, buf + sizeof buf, std::fabs(static_cast<double>(value)),
                    std::chars_format::scientific, 120);
  g.d[0] = buf[0];
  for (int32_t i = 1; i < 8; ++i) g.d[i] = buf[i + 1];
  const char* e = buf;
  while (e < r.ptr && *e != 'e') ++e;
  int32_t exponent = 0;
  std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), r.ptr, exponent);
  g.exponent = exponent + 1;
  return g;
}

void edit_integer(std::string& out, int32_t value, int32_t w) {
  char buf[16];
  const int n = std::snprintf(buf, sizeof buf, "%d", value);
  if (n > w) {
    stars(out, w);
  } else {
    pad_left(out, w, std::string_view(buf, static_cast<std::size_t>(n)));
  }
}

void edit_fixed(std::string& out, float value, int32_t w, int32_t d) {
  if (edit_special(out, value, w)) return;
  const Digits g = expand_digits(value);
  const Rounded r = round_to(g, g.exponent + d);
  std::string body;
  if (g.negative && !r.all_zero) body.push_back('-');
  if (r.exponent > 0) {
    body.append(r.digits, 0, static_cast<std::size_t>(r.exponent));
  }
  body.push_back('.');
  for (int32_t j = 0; j < d; ++j) {
    const int32_t i = r.exponent + j;
    body.push_back(i < 0 ? '0' : r.digits[static_cast<std::size_t>(i)]);
  }
  // A magnitude below 1 gets its 0 only when a column is free for it.
  if (r.exponent <= 0 && static_cast<int32_t>(body.size()) < w) {
    body.insert(body[0] == '-' ? 1 : 0, 1, '0');
  }
  if (static_cast<int32_t>(body.size()) > w) {
    stars(out, w);
  } else {
    pad_left(out, w, body);
  }
}

void edit_exponent(std::string& out, float value, int32_t w, int32_t d) {
  if (edit_special(out, value, w)) return;
  const Digits g = expand_digits(value);
  const Rounded r = round_to(g, d);
  const int32_t e = r.all_zero ? 0 : r.exponent;
  if (std::abs(e) > 999) {
    stars(out, w);
    return;
  }
  std::string body;
  if (g.negative && !r.all_zero) body.push_back('-');
  body.push_back('.');
  body.append(r.digits, 0, static_cast<std::size_t>(d));
  append_exponent(body, e, std::abs(e) < 100);
  if (static_cast<int32_t>(body.size()) < w) body.insert(body[0] == '-' ? 1 : 0, 1, '0');
  if (static_cast<int32_t>(body.size()) > w) {
    stars(out, w);
  } else {
    pad_left(out, w, body);
  }
}

void edit_logical(std::string& out, bool value, int32_t w) {
  out.append(static_cast<std::size_t>(w - 1), ' ');
  out.push_back(value ? 'T' : 'F');
}

void edit_alpha(std::string& out, std::string_view value, int32_t w) {
  if (w < 0) {
    out.append(value);
  } else if (static_cast<int32_t>(value.size()) < w) {
    pad_left(out, w, value);
  } else {
    out.append(value.substr(0, static_cast<std::size_t>(w)));
  }
}

void edit_list_real(std::string& out, float value) {
  if (!std::isfinite(value)) {
    out.append(std::isnan(value) ? "  NaN" : (value < 0 ? " -Infinity" : "  Infinity"));
    return;
  }
  const Digits g = expand_digits(value);
  if (g.zero) {
    out.append("  0.000000");
    return;
  }
  out.append(g.negative ? " -" : "  ");
  Rounded six = round_to(g, 6);
  six.digits.resize(6);  // a carry adds a trailing 0 that six digits do not show
  if (six.exponent >= 0 && six.exponent <= 6) {
    // Fixed: six significant digits, a 0 before the point below 1.
    if (six.exponent > 0) {
      out.append(six.digits, 0, static_cast<std::size_t>(six.exponent));
    } else {
      out.push_back('0');
    }
    out.push_back('.');
    out.append(six.digits, static_cast<std::size_t>(six.exponent), std::string::npos);
    return;
  }
  // Exponent: one digit before the point and six after it.
  const Rounded seven = round_to(g, 7);
  out.push_back(seven.digits[0]);
  out.push_back('.');
  out.append(seven.digits, 1, 6);
  append_exponent(out, seven.exponent - 1, true);
}

void edit_list_integer(std::string& out, int32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%d", value);
  out.append(value < 0 ? " " : "  ");
  out.append(buf);
}

void edit_list_logical(std::string& out, bool value) {
  out.append(value ? "  T" : "  F");
}

}  // namespace recfmt
