// SPDX-License-Identifier: GPL-3.0-or-later
// A ConsoleView that records what the console logic asked of the display.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "vozo/console_state.h"
#include "vozo/console_view.h"

namespace vozo::testing {

class FakeView : public ConsoleView {
 public:
  void invalidate_cells(int32_t x, int32_t y, int32_t width, int32_t height) override {
    calls.push_back("cells " + std::to_string(x) + "," + std::to_string(y) + " " +
                    std::to_string(width) + "x" + std::to_string(height));
  }
  void invalidate_to_right_edge(int32_t x, int32_t y) override {
    calls.push_back("right " + std::to_string(x) + "," + std::to_string(y));
  }
  void invalidate_all() override { calls.push_back("all"); }
  void scroll_cells(int32_t dx, int32_t dy) override {
    calls.push_back("scroll " + std::to_string(dx) + "," + std::to_string(dy));
  }
  void set_scroll_range(ScrollBar bar, int32_t maximum) override {
    (bar == ScrollBar::vertical ? vertical_range : horizontal_range) = maximum;
  }
  void set_scroll_pos(ScrollBar bar, int32_t position) override {
    (bar == ScrollBar::vertical ? vertical_pos : horizontal_pos) = position;
  }
  void move_caret(int32_t x, int32_t y) override {
    caret_x = x;
    caret_y = y;
  }
  void enable_menu_item(MenuId id, bool enabled) override {
    menu[id] = enabled;
    menu_calls.push_back(std::to_string(id) + (enabled ? "+" : "-"));
  }

  void store_full() override { ++store_full_told; }

  // Calls whose text starts with prefix.
  std::vector<std::string> calls_starting(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const std::string& call : calls) {
      if (call.rfind(prefix, 0) == 0) found.push_back(call);
    }
    return found;
  }

  std::vector<std::string> calls;
  std::vector<std::string> menu_calls;
  std::map<int32_t, bool> menu;
  int32_t vertical_range = -1, vertical_pos = -1, horizontal_range = -1, horizontal_pos = -1;
  int32_t caret_x = -1, caret_y = -1;
  int32_t store_full_told = 0;
};

// Cells of 8 x 16 pixels.
inline constexpr int32_t cell_w = 8;
inline constexpr int32_t cell_h = 16;

// A console showing columns x rows whole cells.
inline void size_in_cells(ConsoleState& console, int32_t columns, int32_t rows) {
  console.resize(columns * cell_w, rows * cell_h);
}

inline void type(ConsoleState& console, const std::string& text) {
  for (char c : text) console.on_char(static_cast<uint8_t>(c));
}

inline void press(ConsoleState& console, Key key, int times = 1) {
  for (int k = 0; k < times; ++k) console.on_key(key);
}

inline std::string line(const ConsoleState& console, int32_t k) {
  return std::string(console.store().line(k));
}

}  // namespace vozo::testing
