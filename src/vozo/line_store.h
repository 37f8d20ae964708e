// SPDX-License-Identifier: GPL-3.0-or-later
// The text of one console window: every line back to back in one fixed buffer,
// with a table of line starts. Only the last line grows; a deletion may act on any
// line. When either the buffer or the line table is full the store refuses to grow
// (the calls that would grow it return false), never writes past its limits, and
// remembers that text was refused until it is cleared.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace vozo {

class LineStore {
 public:
  static constexpr int32_t text_capacity = 262144;  // bytes of text
  static constexpr int32_t line_capacity = 32767;   // lines

  LineStore();

  // Number of stored lines N.
  int32_t line_count() const { return count_; }
  // Longest line length seen since the last clear (grows only), in cells.
  int32_t longest() const { return longest_; }
  void note_length(int32_t length) {
    if (length > longest_) longest_ = length;
  }
  // Bytes of text in use.
  int32_t text_size() const { return starts_[count_]; }

  // Line k, 1-based (1..N); an empty view outside that range.
  std::string_view line(int32_t k) const;
  int32_t line_length(int32_t k) const { return static_cast<int32_t>(line(k).size()); }
  // Length of the last line (0 when the store is empty).
  int32_t last_length() const { return line_length(count_); }

  // Opens a new, empty last line. False when the line table is full.
  bool open_line();
  // Stores c at column p of the last line: overwrites the byte there, or grows the
  // line by one when p equals its length. False (nothing stored) when there is no
  // line, p lies beyond the line's end, or growing would overflow the buffer.
  bool store(int32_t column, char c);
  // Inserts bytes at byte p of the last line, all of them or none: false when there is
  // no line, p lies beyond the line's end or the buffer lacks room for them all.
  bool insert(int32_t column, std::string_view bytes);
  // Inserts a blank at column p of the last line (bytes from p on move right).
  // False when there is no line, p lies beyond the line's end or the buffer is full.
  bool insert_blank(int32_t column);
  // Deletes up to n characters at column p of line k (1-based). The deletion never
  // reaches past the end of line k; returns the number of characters deleted.
  int32_t delete_chars(int32_t k, int32_t column, int32_t n);
  // Empties the store.
  void clear();
  // Whether text was refused for lack of room (a full buffer or line table) since the
  // last clear: what the console shows, saves and prints then lacks it.
  bool overflowed() const { return overflowed_; }

 private:
  std::unique_ptr<char[]> text_;
  // starts_[k-1] is the 0-based offset of line k; starts_[N] is one past line N.
  std::unique_ptr<int32_t[]> starts_;
  int32_t count_ = 0;
  int32_t longest_ = 0;
  bool overflowed_ = false;
};

}  // namespace vozo
