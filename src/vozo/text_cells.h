// SPDX-License-Identifier: GPL-3.0-or-later
// Console lines hold UTF-8 bytes and show one character per cell. A character is a
// well-formed UTF-8 sequence; any byte that does not begin one (output in another
// encoding, a cut sequence) is a character of its own, shown as its Latin-1 letter.
// These functions map between the bytes of a line and its cells.
#pragma once

#include <cstdint>
#include <string_view>

namespace vozo {

// Bytes of the character that begins at byte `at` of text: 2 to 4 for a well-formed
// multi-byte sequence, 1 otherwise (0 at or past the end).
int32_t char_size(std::string_view text, int32_t at);
// The character shown for the one that begins at byte `at`: its code point, or the
// byte's own value when it begins no sequence.
char32_t char_code(std::string_view text, int32_t at);
// Whether text holds bytes below 0x80 only: then bytes and cells coincide.
bool is_ascii(std::string_view text);
// Number of cells of text.
int32_t cell_count(std::string_view text);
// Byte at which cell `cell` begins; the end of the text for a cell past its end.
int32_t byte_of_cell(std::string_view text, int32_t cell);
// Cell of the character that begins at byte `at`; a byte inside a character counts as
// the cell after it, so that a caret never stands inside one.
int32_t cell_of_byte(std::string_view text, int32_t at);
// The last character boundary at or before byte `at` (at most the text's size): where a
// line cut to a number of bytes may end without splitting a character.
int32_t boundary_before(std::string_view text, int32_t at);
// Where the character that ends at the boundary `at` (more than 0) begins, read from at
// most four bytes back: a byte that continues no sequence always begins a character.
int32_t char_start_before(std::string_view text, int32_t at);
// Whether the byte can only continue a sequence (0x80 to 0xBF).
inline bool is_continuation(char byte) {
  const auto b = static_cast<uint8_t>(byte);
  return b >= 0x80 && b <= 0xBF;
}

}  // namespace vozo
