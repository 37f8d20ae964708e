#include "vozo/console_state.h"

#include <algorithm>
#include <cstring>

namespace vozo {

ConsoleState::ConsoleState(ConsoleView& view, int32_t char_width, int32_t char_height)
    : view_(view), char_height_(std::max(1, char_height)), char_width_(std::max(1, char_width)) {}

// ---- size and font --------------------------------------------------------------

void ConsoleState::resize(int32_t client_width, int32_t client_height) {
  client_width_ = std::max(0, client_width);
  client_height_ = std::max(0, client_height);
  visible_rows_ = client_height_ / char_height_;
  visible_columns_ = client_width_ / char_width_;
  reset_scroll_ranges();
}

void ConsoleState::change_font(int32_t char_width, int32_t char_height, int32_t client_width,
                               int32_t client_height) {
  char_width_ = std::max(1, char_width);
  char_height_ = std::max(1, char_height);
  resize(client_width, client_height);
  view_.invalidate_all();
}

void ConsoleState::set_text_color(uint32_t rgb) {
  text_color_ = rgb;
  view_.invalidate_all();
}

// ---- typing ---------------------------------------------------------------------

void ConsoleState::on_char(uint8_t code) {
  invalidate_selection();
  clear_selection();
  gray_selection_commands();

  if (code == code_backspace) {
    if (caret_column_ > 0) {
      --caret_column_;
      key_delete();
    }
  } else if (code == code_tab) {
    // Blanks up to the next multiple of 8, at least one. A full store takes none.
    do {
      const int32_t before = caret_column_;
      on_char(' ');
      if (caret_column_ == before) break;
    } while (caret_column_ % 8 != 0);
  } else if (code == code_return) {
    type_return();
  } else {
    type_other(code);
  }

  ++revision_;
  move_caret();
}

void ConsoleState::type_return() {
  if (new_line_pending_) {
    if (store_.line_count() > visible_rows_ + top_ + 2) scroll_to_bottom();
    // A return on a pending line stores an empty line.
    store_.open_line();
  }
  if (visible_rows_ > top_) reset_scroll_ranges();
  caret_column_ = 0;
  ++caret_line_;
  new_line_pending_ = true;
  if (horizontal_pos_ != 0) on_hscroll(SB_LEFT);
  if (visible_rows_ < store_.line_count() + 2) {
    ++top_;
    view_.scroll_cells(0, -1);
    reset_scroll_ranges();
  }
  waiting_ = false;
}

void ConsoleState::type_other(uint8_t code) {
  scroll_to_bottom();
  if (new_line_pending_) {
    // With the line table full the character has nowhere to go.
    if (!store_.open_line()) return;
    new_line_pending_ = false;
  }
  // The character takes the place of a blank inserted at the caret.
  if (!key_insert()) return;
  const char c = code == code_line_feed ? ' ' : static_cast<char>(code);
  store_.store(caret_column_, c);
  view_.invalidate_cells(caret_column_ - horizontal_pos_, caret_line_ - top_, 1, 1);
  ++caret_column_;
  store_.note_length(caret_column_);
  if (visible_columns_ < caret_column_ + 1) {
    on_hscroll(SB_LINERIGHT);
    reset_scroll_ranges();
  }
}

void ConsoleState::on_key(Key key) {
  switch (key) {
    case Key::home:
      on_vscroll(SB_TOP);
      break;
    case Key::end:
      on_vscroll(SB_BOTTOM);
      break;
    case Key::page_up:
      on_vscroll(SB_PAGEUP);
      break;
    case Key::page_down:
      on_vscroll(SB_PAGEDOWN);
      break;
    case Key::up:
      on_vscroll(SB_LINEUP);
      break;
    case Key::down:
      on_vscroll(SB_LINEDOWN);
      break;
    case Key::left:
      caret_column_ = std::max(0, caret_column_ - 1);
      move_caret();
      break;
    case Key::right:
      if (new_line_pending_) break;
      caret_column_ = std::min(caret_column_ + 1, store_.last_length());
      move_caret();
      break;
    case Key::insert:
      key_insert();
      break;
    case Key::del:
      key_delete();
      break;
    case Key::other:
      break;
  }
}

bool ConsoleState::key_insert() {
  if (new_line_pending_) return false;
  if (!store_.insert_blank(caret_column_)) return false;
  view_.invalidate_to_right_edge(caret_column_ - horizontal_pos_, caret_line_ - top_);
  ++revision_;
  return true;
}

void ConsoleState::key_delete() {
  if (new_line_pending_) return;
  // At or past the end of the line there is nothing to delete.
  store_.delete_chars(store_.line_count(), caret_column_, 1);
  view_.invalidate_to_right_edge(caret_column_ - horizontal_pos_, caret_line_ - top_);
  ++revision_;
}

void ConsoleState::move_caret() {
  view_.move_caret(caret_column_ - horizontal_pos_, caret_line_ - top_);
}

// ---- scrolling ------------------------------------------------------------------

void ConsoleState::reset_scroll_ranges() {
  const int32_t old_top = top_;
  const int32_t old_pos = horizontal_pos_;
  vertical_max_ = std::max(0, store_.line_count() - visible_rows_ + 2);
  top_ = std::min(top_, vertical_max_);
  view_.set_scroll_range(ScrollBar::vertical, vertical_max_);
  view_.set_scroll_pos(ScrollBar::vertical, top_);
  horizontal_max_ = std::max(0, store_.longest() - visible_columns_);
  horizontal_pos_ = std::min(horizontal_pos_, horizontal_max_);
  view_.set_scroll_range(ScrollBar::horizontal, horizontal_max_);
  view_.set_scroll_pos(ScrollBar::horizontal, horizontal_pos_);
  // A view pulled back by a shrunk range shows other cells everywhere.
  if (top_ != old_top || horizontal_pos_ != old_pos) view_.invalidate_all();
}

void ConsoleState::on_vscroll(int32_t code, int32_t thumb) {
  int32_t delta = 0;
  switch (code) {
    case SB_TOP:
      delta = -top_;
      break;
    case SB_BOTTOM:
      delta = vertical_max_ - top_;
      break;
    case SB_LINEUP:
      delta = -1;
      break;
    case SB_LINEDOWN:
      delta = 1;
      break;
    case SB_PAGEUP:
      delta = -std::max(1, visible_rows_);
      break;
    case SB_PAGEDOWN:
      delta = std::max(1, visible_rows_);
      break;
    case SB_THUMBTRACK:
      delta = thumb - top_;
      break;
    default:
      break;
  }
  delta = std::max(-top_, std::min(delta, vertical_max_ - top_));
  if (delta == 0) return;
  top_ += delta;
  view_.scroll_cells(0, -delta);
  view_.set_scroll_pos(ScrollBar::vertical, top_);
}

void ConsoleState::on_hscroll(int32_t code, int32_t thumb) {
  int32_t delta = 0;
  switch (code) {
    case SB_LEFT:
      delta = -horizontal_pos_;
      break;
    case SB_LINELEFT:
      delta = -1;
      break;
    case SB_LINERIGHT:
      delta = 1;
      break;
    case SB_PAGELEFT:
      delta = -8;
      break;
    case SB_PAGERIGHT:
      delta = 8;
      break;
    case SB_THUMBPOSITION:
      delta = thumb - horizontal_pos_;
      break;
    default:
      break;
  }
  delta = std::max(-horizontal_pos_, std::min(delta, horizontal_max_ - horizontal_pos_));
  if (delta == 0) return;
  horizontal_pos_ += delta;
  view_.scroll_cells(-delta, 0);
  view_.set_scroll_pos(ScrollBar::horizontal, horizontal_pos_);
}

// ---- program side ---------------------------------------------------------------

void ConsoleState::append_output(std::string_view bytes) {
  if (!bytes.empty() && bytes.back() == '\n') bytes.remove_suffix(1);
  for (char c : bytes) on_char(static_cast<uint8_t>(c));
  input_start_ = caret_column_;
  ++revision_;
}

int32_t ConsoleState::take_input_line(char* buffer, int32_t capacity) {
  if (capacity < 2) return 0;
  const std::string_view last = store_.line(store_.line_count());
  const int32_t to = std::min(static_cast<int32_t>(last.size()), capacity - 2);
  const int32_t count = std::max(0, to - input_start_);
  if (count > 0) std::memcpy(buffer, last.data() + input_start_, static_cast<size_t>(count));
  buffer[count] = '\r';
  buffer[count + 1] = '\n';
  input_start_ = 0;
  return count + 2;
}

std::string ConsoleState::take_input_line(int32_t capacity) {
  std::string line(static_cast<size_t>(std::max(0, capacity)), '\0');
  line.resize(static_cast<size_t>(take_input_line(line.data(), capacity)));
  return line;
}

void ConsoleState::clear() {
  store_.clear();
  top_ = 0;
  horizontal_pos_ = 0;
  caret_column_ = 0;
  caret_line_ = 0;
  input_start_ = 0;
  new_line_pending_ = true;
  selection_ = false;
  dragging_ = false;
  reset_scroll_ranges();
  view_.invalidate_all();
}

// ---- painting -------------------------------------------------------------------

LineRange ConsoleState::repaint_lines(int32_t invalid_top, int32_t invalid_bottom) const {
  LineRange range;
  range.first = std::max(0, top_ + invalid_top / char_height_ - 1);
  range.last = std::min(store_.line_count() - 1, top_ + invalid_bottom / char_height_);
  return range;
}

bool ConsoleState::selection_in_view() const {
  return selection_ && top_ <= selection_line_ && selection_line_ <= top_ + visible_rows_;
}

void ConsoleState::finish_paint() {
  move_caret();
}

}  // namespace vozo
