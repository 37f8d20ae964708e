// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/line_store.h"

#include <algorithm>
#include <cstring>

namespace vozo {

LineStore::LineStore() : text_(new char[text_capacity]), starts_(new int32_t[line_capacity + 1]) {
  clear();
}

std::string_view LineStore::line(int32_t k) const {
  if (k < 1 || k > count_) return {};
  const int32_t begin = starts_[k - 1];
  return std::string_view(text_.get() + begin, static_cast<size_t>(starts_[k] - begin));
}

bool LineStore::open_line() {
  if (count_ == line_capacity) {
    overflowed_ = true;
    return false;
  }
  ++count_;
  starts_[count_] = starts_[count_ - 1];
  return true;
}

bool LineStore::store(int32_t column, char c) {
  if (count_ == 0 || column < 0) return false;
  const int32_t begin = starts_[count_ - 1];
  const int32_t length = starts_[count_] - begin;
  if (column > length) return false;
  if (column == length) {
    if (starts_[count_] == text_capacity) {
      overflowed_ = true;
      return false;
    }
    ++starts_[count_];
  }
  text_[begin + column] = c;
  return true;
}

bool LineStore::insert(int32_t column, std::string_view bytes) {
  if (count_ == 0 || column < 0) return false;
  const int32_t begin = starts_[count_ - 1];
  const int32_t end = starts_[count_];
  if (column > end - begin) return false;
  const auto n = static_cast<int32_t>(bytes.size());
  if (n > text_capacity - end) {
    overflowed_ = true;
    return false;
  }
  char* at = text_.get() + begin + column;
  // Output and typing mostly add one byte at the end of the line: no move, no copy call.
  const int32_t tail = end - begin - column;
  if (tail > 0) std::memmove(at + n, at, static_cast<size_t>(tail));
  if (n == 1) {
    *at = bytes.front();
  } else {
    std::memcpy(at, bytes.data(), bytes.size());
  }
  starts_[count_] += n;
  return true;
}

bool LineStore::insert_blank(int32_t column) {
  return insert(column, " ");
}

int32_t LineStore::delete_chars(int32_t k, int32_t column, int32_t n) {
  if (k < 1 || k > count_ || column < 0 || n <= 0) return 0;
  const int32_t begin = starts_[k - 1];
  const int32_t length = starts_[k] - begin;
  if (column >= length) return 0;
  n = std::min(n, length - column);
  const int32_t end = starts_[count_];
  char* at = text_.get() + begin + column;
  std::memmove(at, at + n, static_cast<size_t>(end - (begin + column + n)));
  // The bytes freed at the end of the text read as blanks.
  std::memset(text_.get() + end - n, ' ', static_cast<size_t>(n));
  for (int32_t j = k; j <= count_; ++j) starts_[j] -= n;
  return n;
}

void LineStore::clear() {
  count_ = 0;
  longest_ = 0;
  starts_[0] = 0;
  overflowed_ = false;
}

}  // namespace vozo
