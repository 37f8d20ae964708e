// SPDX-License-Identifier: GPL-3.0-or-later
// Selection with the mouse on one line, the clipboard commands' side of it, and
// deletion of the selected characters.
#include <algorithm>
#include <cstring>

#include "vozo/console_state.h"
#include "vozo/text_cells.h"

namespace vozo {

int32_t ConsoleState::pointer_column(int32_t x) const {
  return std::max(0, horizontal_pos_ + x / char_width_);
}

int32_t ConsoleState::pointer_line(int32_t y) const {
  return std::max(0, top_ + y / char_height_);
}

int32_t ConsoleState::length_of(int32_t line0) const {
  return cell_count(store_.line(line0 + 1));
}

void ConsoleState::invalidate_selection() {
  if (!selection_) return;
  if (selection_line_ < top_ || selection_line_ >= top_ + visible_rows_) return;
  view_.invalidate_cells(selection_start_ - horizontal_pos_, selection_line_ - top_,
                         selection_end_ - selection_start_ + 1, 1);
}

void ConsoleState::clear_selection() {
  selection_ = false;
  selection_line_ = 0;
  selection_start_ = 0;
  selection_end_ = 0;
}

void ConsoleState::gray_selection_commands() {
  // Every typed character grays them; the menu needs to hear it only once.
  if (selection_commands_ == 0) return;
  selection_commands_ = 0;
  view_.enable_menu_item(IDM_CUT, false);
  view_.enable_menu_item(IDM_COPY, false);
  view_.enable_menu_item(IDM_DELETE, false);
}

void ConsoleState::enable_selection_commands() {
  if (selection_commands_ == 1) return;
  selection_commands_ = 1;
  view_.enable_menu_item(IDM_CUT, true);
  view_.enable_menu_item(IDM_COPY, true);
  view_.enable_menu_item(IDM_DELETE, true);
}

void ConsoleState::extend_selection(Key key) {
  const int32_t length = length_of(caret_line_);
  // The end of the selection away from the caret stays put.
  int32_t anchor = caret_column_;
  if (selection_ && selection_line_ == caret_line_ && selection_start_ != selection_end_) {
    anchor = caret_column_ == selection_start_ ? selection_end_ : selection_start_;
  }
  int32_t column = caret_column_;
  switch (key) {
    case Key::left:
      column = std::max(0, column - 1);
      break;
    case Key::right:
      column = std::min(column + 1, length);
      break;
    case Key::home:
      column = 0;
      break;
    case Key::end:
      column = length;
      break;
    default:
      return;
  }
  invalidate_selection();
  set_caret_column(column);
  selection_ = true;
  selection_line_ = caret_line_;
  selection_start_ = std::min(anchor, column);
  selection_end_ = std::max(anchor, column);
  invalidate_selection();
  if (selection_start_ != selection_end_) {
    enable_selection_commands();
  } else {
    clear_selection();
    gray_selection_commands();
  }
  move_caret();
}

void ConsoleState::mouse_press() {
  invalidate_selection();
  clear_selection();
  gray_selection_commands();
  dragging_ = true;
}

void ConsoleState::mouse_move(int32_t x, int32_t y, bool left_held) {
  if (!left_held || !dragging_) return;
  invalidate_selection();
  const int32_t column = pointer_column(x);
  const int32_t line = pointer_line(y);
  const int32_t length = length_of(line);
  if (!selection_) {
    if (length >= column) {
      selection_ = true;
      selection_line_ = line;
      selection_start_ = column;
      selection_end_ = column;
    }
  } else if (line == selection_line_) {
    if (column < selection_start_) {
      selection_start_ = column;
    } else if (column <= selection_end_) {
      // The nearer end follows the pointer; on a tie, the end.
      if (column - selection_start_ >= selection_end_ - column) {
        selection_end_ = column;
      } else {
        selection_start_ = column;
      }
    } else {
      selection_end_ = std::min(column, length);
    }
  }
  invalidate_selection();
}

void ConsoleState::mouse_release() {
  dragging_ = false;
  invalidate_selection();
  if (selection_ && selection_start_ != selection_end_) {
    enable_selection_commands();
  } else {
    clear_selection();
  }
}

void ConsoleState::double_click(int32_t x, int32_t y) {
  invalidate_selection();
  const int32_t column = pointer_column(x);
  const int32_t line = pointer_line(y);
  const std::string_view text = store_.line(line + 1);
  const int32_t length = cell_count(text);
  const auto size = static_cast<int32_t>(text.size());
  const int32_t at = byte_of_cell(text, column);
  selection_ = true;
  selection_line_ = line;
  if (column >= length || text[static_cast<size_t>(at)] == ' ') {
    // Nothing but a blank (or the empty space past the line) under the pointer.
    selection_start_ = selection_end_ = std::min(column, length);
  } else {
    // The word under the pointer: from just after the blank before it up to the
    // blank after it. A blank is a character of its own, so the bytes next to one
    // begin and end characters.
    int32_t start = at;
    while (start > 0 && text[static_cast<size_t>(start - 1)] != ' ') --start;
    int32_t end = at + char_size(text, at);
    while (end < size && text[static_cast<size_t>(end)] != ' ') ++end;
    selection_start_ = cell_of_byte(text, start);
    selection_end_ = cell_of_byte(text, end);
  }
  invalidate_selection();
  dragging_ = false;
}

std::string ConsoleState::selection_text() const {
  if (!selection_) return {};
  const std::string_view text = store_.line(selection_line_ + 1);
  const int32_t start = byte_of_cell(text, selection_start_);
  const int32_t end = byte_of_cell(text, selection_end_);
  if (end <= start) return {};
  return std::string(text.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)));
}

void ConsoleState::clipboard_stored() {
  view_.enable_menu_item(IDM_PASTE, true);
}

void ConsoleState::delete_selection() {
  if (!selection_) return;
  const std::string_view text = store_.line(selection_line_ + 1);
  const int32_t start = byte_of_cell(text, selection_start_);
  const int32_t end = byte_of_cell(text, selection_end_);
  const int32_t removed = store_.delete_chars(selection_line_ + 1, start, end - start);
  if (removed > 0 && selection_line_ == caret_line_) {
    if (start < caret_byte_) caret_byte_ = end <= caret_byte_ ? caret_byte_ - removed : start;
    resync_caret();
  }
  if (removed > 0) ++revision_;
  if (selection_line_ >= top_ && selection_line_ < top_ + visible_rows_) {
    view_.invalidate_to_right_edge(selection_start_ - horizontal_pos_, selection_line_ - top_);
  }
  invalidate_selection();
  clear_selection();
  gray_selection_commands();
  move_caret();
}

void ConsoleState::paste(std::string_view text) {
  const size_t nul = text.find('\0');
  if (nul != std::string_view::npos) text = text.substr(0, nul);
  if (text.size() > static_cast<size_t>(paste_limit)) {
    text = text.substr(0, static_cast<size_t>(boundary_before(text, paste_limit)));
  }
  type_text(text);
}

std::string typed_line_ends(std::string_view clipboard_text) {
  std::string typed(clipboard_text);
  for (size_t i = 0; i < typed.size(); ++i) {
    if (typed[i] == '\n' && (i == 0 || clipboard_text[i - 1] != '\r')) typed[i] = '\r';
  }
  return typed;
}

}  // namespace vozo
