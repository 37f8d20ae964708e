// SPDX-License-Identifier: GPL-3.0-or-later
// One record being built (output) or taken apart (input). These know columns, not units.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

namespace recfmt::detail {

// Positioning never takes a column beyond this (16 Mi columns), whatever the format asks.
inline int32_t moved(int32_t col, int64_t by) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{col} + by, 0, int64_t{1} << 24));
}

// The current column of a record, as the positioning descriptors move it (the same on
// input and output).
class Columns {
 public:
  void skip(int32_t n) { col_ = moved(col_, n); }
  void tab(int32_t column) { col_ = moved(0, int64_t{column} - 1); }
  void tab_left(int32_t n) { col_ = moved(col_, -int64_t{n}); }
  int32_t column() const { return col_; }

 protected:
  int32_t col_ = 0;
};

// The record under construction: the current column and the rightmost column written.
// Columns skipped and later followed by a written character are blanks; columns skipped
// at the end are not part of the record.
class RecordBuilder : public Columns {
 public:
  void put(std::string_view s) {
    const std::size_t end = static_cast<std::size_t>(col_) + s.size();
    if (buf_.size() < end) buf_.resize(end, ' ');
    std::copy(s.begin(), s.end(), buf_.begin() + col_);
    col_ = static_cast<int32_t>(end);
    len_ = std::max(len_, col_);
  }
  std::string_view text() const {
    return std::string_view(buf_).substr(0, static_cast<std::size_t>(len_));
  }
  void clear() {
    buf_.clear();
    col_ = 0;
    len_ = 0;
  }

 private:
  std::string buf_;
  int32_t len_ = 0;
};

// The record being read: fields past its end read as blanks.
class RecordCursor : public Columns {
 public:
  std::string& line() { return line_; }
  void restart() { col_ = 0; }

  // The next w columns, padded with blanks past the end of the line.
  std::string field(int32_t w) {
    std::string f(available(w));
    f.resize(static_cast<std::size_t>(w), ' ');
    col_ = moved(col_, w);
    return f;
  }
  // A numeric field: a comma inside it ends the field early, and the next field starts
  // just after the comma. Blanks past the end of the line are left out: they read as
  // nothing.
  std::string_view numeric_field(int32_t w) {
    std::string_view f = available(w);
    const std::size_t comma = f.find(',');
    if (comma != std::string_view::npos) {
      col_ += static_cast<int32_t>(comma) + 1;
      return f.substr(0, comma);
    }
    col_ = moved(col_, w);
    return f;
  }

 private:
  std::string_view available(int32_t w) const {
    const std::size_t size = line_.size();
    const std::size_t from = std::min(size, static_cast<std::size_t>(col_));
    const std::size_t n = std::min(size - from, static_cast<std::size_t>(w));
    return std::string_view(line_).substr(from, n);
  }

  std::string line_;
};

}  // namespace recfmt::detail
