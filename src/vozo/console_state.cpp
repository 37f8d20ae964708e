// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/console_state.h"

#include <algorithm>
#include <cstring>

#include "vozo/text_cells.h"

namespace vozo {

ConsoleState::ConsoleState(ConsoleView& view, int32_t char_width, int32_t char_height)
    : view_(view), char_height_(std::max(1, char_height)), char_width_(std::max(1, char_width)) {}

// ---- size and font --------------------------------------------------------------

void ConsoleState::resize(int32_t client_width, int32_t client_height) {
  // A caret that was in sight stays in sight when the window narrows (a scroll bar
  // appearing beside the text narrows it too).
  const bool caret_seen =
      caret_column_ >= horizontal_pos_ && caret_column_ - horizontal_pos_ < visible_columns_;
  client_width_ = std::max(0, client_width);
  client_height_ = std::max(0, client_height);
  visible_rows_ = client_height_ / char_height_;
  visible_columns_ = client_width_ / char_width_;
  reset_scroll_ranges();
  if (caret_seen) keep_caret_in_view();
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
  const char c = static_cast<char>(code);
  enter(std::string_view(&c, 1));
}

void ConsoleState::type_text(std::string_view text) {
  const auto size = static_cast<int32_t>(text.size());
  for (int32_t at = 0; at < size;) {
    // Program output is ASCII: its bytes need no look at the ones after them.
    const int32_t n =
        static_cast<uint8_t>(text[static_cast<size_t>(at)]) < 0x80 ? 1 : char_size(text, at);
    enter(text.substr(static_cast<size_t>(at), static_cast<size_t>(n)));
    at += n;
  }
}

void ConsoleState::enter(std::string_view character) {
  invalidate_selection();
  clear_selection();
  gray_selection_commands();

  const auto code = static_cast<uint8_t>(character.front());
  if (character.size() > 1) {
    type_other(character);
  } else if (code == code_backspace) {
    if (caret_column_ > 0 && !new_line_pending_) {
      caret_byte_ = char_start_before(caret_text(), caret_byte_);
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
    type_other(character);
  }

  ++revision_;
  keep_caret_in_view();
  move_caret();
  check_store_full();
}

void ConsoleState::type_return() {
  if (new_line_pending_) {
    if (store_.line_count() > visible_rows_ + top_ + 2) scroll_to_bottom();
    // A return on a pending line stores an empty line.
    store_.open_line();
  }
  caret_column_ = 0;
  caret_byte_ = 0;
  line_cells_ = 0;
  if (visible_rows_ > top_) reset_scroll_ranges();
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

void ConsoleState::type_other(std::string_view character) {
  scroll_to_bottom();
  if (new_line_pending_) {
    // With the line table full the character has nowhere to go.
    if (!store_.open_line()) return;
    new_line_pending_ = false;
  }
  const bool line_feed = character.size() == 1 && character.front() == code_line_feed;
  // The character goes in at the caret, the bytes from there on moving right.
  const int32_t at = caret_byte_;
  if (!store_.insert(at, line_feed ? std::string_view(" ") : character)) return;
  ++revision_;
  view_.invalidate_to_right_edge(caret_column_ - horizontal_pos_, caret_line_ - top_);
  view_.invalidate_cells(caret_column_ - horizontal_pos_, caret_line_ - top_, 1, 1);
  caret_byte_ += static_cast<int32_t>(character.size());
  if (character.size() > 1 || static_cast<uint8_t>(character.front()) < 0x80) {
    // A whole character takes one more cell and leaves the others as they were.
    ++caret_column_;
    ++line_cells_;
  } else {
    // A byte beginning no sequence may complete one with the bytes before it.
    resync_from(at, caret_column_, at + 1);
  }
  store_.note_length(line_cells_);
}

void ConsoleState::erase_typed_input() {
  if (new_line_pending_) return;
  // The caret to the end of the line, then the characters after the prompt taken back
  // from the last, as Backspace takes them.
  caret_byte_ = static_cast<int32_t>(caret_text().size());
  caret_column_ = line_cells_;
  keep_caret_in_view();
  move_caret();
  while (caret_column_ > input_start_) on_char(code_backspace);
}

std::string_view ConsoleState::caret_text() const {
  return new_line_pending_ ? std::string_view() : store_.line(store_.line_count());
}

void ConsoleState::set_caret_column(int32_t column) {
  caret_column_ = column;
  caret_byte_ = byte_of_cell(caret_text(), column);
}

void ConsoleState::resync_caret() {
  const std::string_view text = caret_text();
  line_cells_ = cell_count(text);
  set_caret_column(cell_of_byte(text, caret_byte_));
}

// Only the characters that begin at most three bytes before `at` can change, and a byte
// that continues no sequence always begins a character of its own.
void ConsoleState::resync_from(int32_t at, int32_t column, int32_t caret) {
  const std::string_view text = caret_text();
  int32_t from = at;
  for (int32_t b = at - 1; b >= std::max(0, at - 3); --b) {
    if (!is_continuation(text[static_cast<size_t>(b)])) {
      from = b;
      break;
    }
  }
  // The cells from `from` to `at` as they were before the change.
  const auto span = static_cast<size_t>(at - from);
  const int32_t before = column - cell_count(text.substr(static_cast<size_t>(from), span));
  const std::string_view rest = text.substr(static_cast<size_t>(from));
  const int32_t cells = cell_of_byte(rest, caret - from);
  caret_column_ = before + cells;
  caret_byte_ = from + byte_of_cell(rest, cells);
  line_cells_ = before + cell_count(rest);
}

void ConsoleState::keep_caret_in_view() {
  if (visible_columns_ <= 0) return;
  int32_t wanted = horizontal_pos_;
  if (caret_column_ < horizontal_pos_) {
    wanted = caret_column_;
  } else if (caret_column_ - horizontal_pos_ >= visible_columns_) {
    wanted = caret_column_ - visible_columns_ + 1;
  }
  if (wanted == horizontal_pos_) return;
  // The range takes in the caret's cell first.
  reset_scroll_ranges();
  on_hscroll(SB_THUMBPOSITION, wanted);
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
      if (caret_column_ > 0) set_caret_column(caret_column_ - 1);
      keep_caret_in_view();
      move_caret();
      break;
    case Key::right:
      if (new_line_pending_) break;
      if (caret_column_ < line_cells_) {
        caret_byte_ += char_size(caret_text(), caret_byte_);
        ++caret_column_;
      }
      keep_caret_in_view();
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
  if (!store_.insert_blank(caret_byte_)) {
    check_store_full();
    return false;
  }
  ++line_cells_;
  store_.note_length(line_cells_);
  view_.invalidate_to_right_edge(caret_column_ - horizontal_pos_, caret_line_ - top_);
  ++revision_;
  return true;
}

void ConsoleState::key_delete() {
  if (new_line_pending_) return;
  // The whole character at the caret; at or past the end of the line there is none.
  const int32_t size = char_size(caret_text(), caret_byte_);
  if (store_.delete_chars(store_.line_count(), caret_byte_, size) > 0) {
    // Bytes that began no sequence on either side may now form one.
    resync_from(caret_byte_, caret_column_, caret_byte_);
  }
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
  // The caret's cell counts as text: a caret past the end of the longest line can be
  // scrolled into view.
  horizontal_max_ = std::max(0, std::max(store_.longest(), caret_column_ + 1) - visible_columns_);
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
  type_text(bytes);
  input_start_ = caret_column_;
  ++revision_;
}

int32_t ConsoleState::take_input_line(char* buffer, int32_t capacity) {
  if (capacity < 2) return 0;
  const std::string_view last = store_.line(store_.line_count());
  // The cut keeps whole characters.
  const int32_t from = byte_of_cell(last, input_start_);
  const int32_t to = boundary_before(last, capacity - 2);
  const int32_t count = std::max(0, to - from);
  if (count > 0) std::memcpy(buffer, last.data() + from, static_cast<size_t>(count));
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
  caret_byte_ = 0;
  line_cells_ = 0;
  told_store_full_ = false;
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
