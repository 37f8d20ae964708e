// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/text_cells.h"

#include <algorithm>

namespace vozo {
namespace {

uint8_t byte_at(std::string_view text, int32_t at) {
  return static_cast<uint8_t>(text[static_cast<size_t>(at)]);
}

bool continuation(std::string_view text, int32_t at, uint8_t low = 0x80, uint8_t high = 0xBF) {
  if (at >= static_cast<int32_t>(text.size())) return false;
  const uint8_t b = byte_at(text, at);
  return b >= low && b <= high;
}

}  // namespace

int32_t char_size(std::string_view text, int32_t at) {
  const auto size = static_cast<int32_t>(text.size());
  if (at < 0 || at >= size) return 0;
  const uint8_t lead = byte_at(text, at);
  if (lead < 0xC2 || lead > 0xF4) return 1;
  // The second byte's range rules out overlong forms, surrogates and code points past
  // U+10FFFF.
  uint8_t low = 0x80;
  uint8_t high = 0xBF;
  if (lead == 0xE0) low = 0xA0;
  if (lead == 0xED) high = 0x9F;
  if (lead == 0xF0) low = 0x90;
  if (lead == 0xF4) high = 0x8F;
  const int32_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (!continuation(text, at + 1, low, high)) return 1;
  for (int32_t k = 2; k < length; ++k) {
    if (!continuation(text, at + k)) return 1;
  }
  return length;
}

char32_t char_code(std::string_view text, int32_t at) {
  const int32_t size = char_size(text, at);
  if (size == 0) return 0;
  const uint8_t lead = byte_at(text, at);
  if (size == 1) return lead;
  char32_t code = lead & (0x7F >> size);
  for (int32_t k = 1; k < size; ++k) code = (code << 6) | (byte_at(text, at + k) & 0x3F);
  return code;
}

bool is_ascii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<uint8_t>(c) < 0x80; });
}

int32_t cell_count(std::string_view text) {
  return cell_of_byte(text, static_cast<int32_t>(text.size()));
}

int32_t byte_of_cell(std::string_view text, int32_t cell) {
  const auto size = static_cast<int32_t>(text.size());
  int32_t at = 0;
  for (int32_t k = 0; k < cell && at < size; ++k) at += char_size(text, at);
  return at;
}

int32_t cell_of_byte(std::string_view text, int32_t at) {
  at = std::min(at, static_cast<int32_t>(text.size()));
  int32_t cells = 0;
  for (int32_t b = 0; b < at; b += char_size(text, b)) ++cells;
  return cells;
}

int32_t boundary_before(std::string_view text, int32_t at) {
  const auto size = static_cast<int32_t>(text.size());
  if (at >= size) return size;
  int32_t boundary = 0;
  for (int32_t b = 0; b <= at; b += char_size(text, b)) boundary = b;
  return boundary;
}

int32_t char_start_before(std::string_view text, int32_t at) {
  // Characters before a boundary end at or before it.
  at = std::min(at, static_cast<int32_t>(text.size()));
  const std::string_view head = text.substr(0, static_cast<size_t>(at));
  for (int32_t p = at - 1; p >= std::max(0, at - 4); --p) {
    if (is_continuation(head[static_cast<size_t>(p)])) continue;
    // Continuation bytes between that character's end and `at` stand alone.
    return p + char_size(head, p) == at ? p : at - 1;
  }
  return at - 1;
}

}  // namespace vozo
