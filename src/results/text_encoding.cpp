// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/text_encoding.h"

#include <cstdint>

namespace results {

namespace {

bool continuation(unsigned char c) {
  return (c & 0xC0u) == 0x80u;
}

// The length of the well-formed UTF-8 sequence at text[at] and its code point; 0 when the
// bytes there are not one (overlong forms, surrogates and values past U+10FFFF are not).
// `cut` is set when the sequence is well formed as far as the text goes but the text ends
// before it does.
std::size_t sequence_at(std::string_view text, std::size_t at, char32_t& code, bool& cut) {
  cut = false;
  const auto lead = static_cast<unsigned char>(text[at]);
  if (lead < 0x80u) {
    code = lead;
    return 1;
  }
  std::size_t length = 0;
  char32_t min = 0;
  if (lead >= 0xC2u && lead <= 0xDFu) {
    length = 2;
    code = lead & 0x1Fu;
    min = 0x80;
  } else if (lead >= 0xE0u && lead <= 0xEFu) {
    length = 3;
    code = lead & 0x0Fu;
    min = 0x800;
  } else if (lead >= 0xF0u && lead <= 0xF4u) {
    length = 4;
    code = lead & 0x07u;
    min = 0x10000;
  } else {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (at + k >= text.size()) {
      cut = true;
      return 0;
    }
    const auto c = static_cast<unsigned char>(text[at + k]);
    if (!continuation(c)) return 0;
    code = (code << 6) | (c & 0x3Fu);
    // Reject at the earliest byte that decides it, so that a cut is only ever a prefix
    // of a character that could be whole.
    if (k == 1) {
      const char32_t floor = min >> (6 * (length - 2));
      const char32_t ceiling = 0x10FFFF >> (6 * (length - 2));
      if (code < floor || code > ceiling) return 0;
      if (length == 3 && code >= (0xD800 >> 6) && code <= (0xDFFF >> 6)) return 0;
    }
  }
  return length;
}

bool kept(char32_t code) {
  if (code < 0x20 || code == 0x7F) return false;
  if (code >= 0x80 && code <= 0x9F) return false;
  if (code == 0xFFFE || code == 0xFFFF) return false;
  return true;
}

void append_utf8(std::string& out, char32_t code) {
  if (code == '\t') code = ' ';
  if (!kept(code)) return;
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace

std::string output_text(std::string_view bytes, bool full) {
  // Valid UTF-8, up to a character cut at the end of a full record: read as UTF-8.
  std::size_t end = 0;
  bool utf8 = true;
  while (end < bytes.size()) {
    char32_t code = 0;
    bool cut = false;
    const std::size_t n = sequence_at(bytes, end, code, cut);
    if (n == 0) {
      utf8 = cut && full;
      break;
    }
    end += n;
  }
  std::string out;
  out.reserve(bytes.size());
  if (utf8) {
    for (std::size_t at = 0; at < end;) {
      char32_t code = 0;
      bool cut = false;
      at += sequence_at(bytes, at, code, cut);
      append_utf8(out, code);
    }
    return out;
  }
  for (const char c : bytes) append_utf8(out, static_cast<unsigned char>(c));
  return out;
}

}  // namespace results
