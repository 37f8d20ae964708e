// SPDX-License-Identifier: GPL-3.0-or-later
// The console side of the program's standard units: which window each unit writes
// to and reads from, the size a "WINDOW" access value asks for, and whether the
// computation has stopped.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace vozo {

class ConsoleState;

// Unit id of the default console, registered first at start-up.
inline constexpr int32_t default_console_unit = -1;

// Pairs of (unit id, window). Entries are appended and never reused; a closed
// window leaves its entry with no window. Negative ids (the standard units) all
// find entry 1, the default console.
class UnitWindowTable {
 public:
  static constexpr int32_t capacity = 100;

  // Appends a unit; false (and nothing written) when the table is full.
  bool register_unit(int32_t unit_id);
  // A new console window takes the entry registered last.
  void attach_last(ConsoleState* window);
  // Forgets a window that closed.
  void detach(ConsoleState* window);
  // The window of a unit, or nullptr. A negative id first becomes entry 1's id.
  ConsoleState* lookup(int32_t unit_id);
  int32_t count() const { return count_; }
  bool full() const { return count_ == capacity; }
  // Entry k, 1-based.
  int32_t unit_at(int32_t k) const { return entries_[k - 1].unit_id; }

 private:
  struct Entry {
    int32_t unit_id = 0;
    ConsoleState* window = nullptr;
  };
  std::array<Entry, capacity> entries_{};
  int32_t count_ = 0;
};

// Size of a unit window asked for by an access value such as "WINDOW,600,300".
// use_default is set (and width, height are 0) unless both numbers are nonzero.
struct WindowSize {
  bool use_default = true;
  int32_t width = 0;
  int32_t height = 0;
};
WindowSize parse_window_access(std::string_view access);

// The computation's stop: ProgramEnd runs its loop once, and Exit needs to know
// whether the computation still has to be stopped.
class EndFlag {
 public:
  // True the first time only.
  bool mark_ended() {
    if (ended_) return false;
    ended_ = true;
    return true;
  }
  bool ended() const { return ended_; }

 private:
  bool ended_ = false;
};

}  // namespace vozo
