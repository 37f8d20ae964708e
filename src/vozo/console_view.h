// SPDX-License-Identifier: GPL-3.0-or-later
// What a console window's logic asks of its display. The widget implements it;
// the tests record the calls. Cell coordinates given here are relative to the view:
// column 0 is the first visible column, row 0 the top visible line.
#pragma once

#include <cstdint>

#include "vozo/menu_ids.h"

namespace vozo {

enum class ScrollBar { horizontal, vertical };

class ConsoleView {
 public:
  virtual ~ConsoleView() = default;

  // Marks columns x .. x+width-1 of rows y .. y+height-1 for repaint.
  virtual void invalidate_cells(int32_t x, int32_t y, int32_t width, int32_t height) = 0;
  // Marks row y from column x to the right edge of the client area for repaint.
  virtual void invalidate_to_right_edge(int32_t x, int32_t y) = 0;
  // Marks the whole client area for repaint.
  virtual void invalidate_all() = 0;
  // Shifts the client area's contents by dx columns and dy rows (negative: left, up)
  // and marks the uncovered cells for repaint.
  virtual void scroll_cells(int32_t dx, int32_t dy) = 0;

  // Scroll bar range 0..maximum, and the bar's position.
  virtual void set_scroll_range(ScrollBar bar, int32_t maximum) = 0;
  virtual void set_scroll_pos(ScrollBar bar, int32_t position) = 0;

  // Puts the one-cell caret at view cell (x, y).
  virtual void move_caret(int32_t x, int32_t y) = 0;

  // Enables or grays a menu command of this window.
  virtual void enable_menu_item(MenuId id, bool enabled) = 0;

  // The store is full and text was not kept: told once, until the window is cleared.
  virtual void store_full() {}
};

}  // namespace vozo
