// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/bridge.h"

#include <algorithm>
#include <limits>

namespace vozo {

bool UnitWindowTable::register_unit(int32_t unit_id) {
  if (full()) return false;
  entries_[static_cast<size_t>(count_)] = Entry{unit_id, nullptr};
  ++count_;
  return true;
}

void UnitWindowTable::attach_last(ConsoleState* window) {
  if (count_ > 0) entries_[static_cast<size_t>(count_ - 1)].window = window;
}

void UnitWindowTable::detach(ConsoleState* window) {
  if (window == nullptr) return;
  for (int32_t k = 0; k < count_; ++k) {
    if (entries_[static_cast<size_t>(k)].window == window) {
      entries_[static_cast<size_t>(k)].window = nullptr;
    }
  }
}

ConsoleState* UnitWindowTable::lookup(int32_t unit_id) {
  if (count_ == 0) return nullptr;
  // Every standard unit speaks to the default console.
  if (unit_id < 0) entries_[0].unit_id = unit_id;
  for (int32_t k = 0; k < count_; ++k) {
    if (entries_[static_cast<size_t>(k)].unit_id == unit_id) {
      return entries_[static_cast<size_t>(k)].window;
    }
  }
  return nullptr;
}

namespace {

// A decimal number in which blanks are skipped; anything else that is not a digit,
// or a value too large for a window, makes it 0.
int32_t access_number(std::string_view text) {
  int64_t value = 0;
  for (char c : text) {
    if (c == ' ') continue;
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
    if (value > std::numeric_limits<int32_t>::max()) return 0;
  }
  return static_cast<int32_t>(value);
}

}  // namespace

WindowSize parse_window_access(std::string_view access) {
  // Only the first 100 characters count; the rest of that field is blank.
  access = access.substr(0, 100);
  const size_t first = access.find(',');
  if (first == std::string_view::npos) return {};
  const size_t second = access.find(',', first + 1);
  if (second == std::string_view::npos) return {};
  const int32_t width = access_number(access.substr(first + 1, second - first - 1));
  const int32_t height = access_number(access.substr(second + 1));
  if (width == 0 || height == 0) return {};
  return WindowSize{false, width, height};
}

}  // namespace vozo
