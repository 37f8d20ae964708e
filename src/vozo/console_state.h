// SPDX-License-Identifier: GPL-3.0-or-later
// The logic of one text console window: the line store, editing of the last line,
// program output and input lines, scrolling in whole cells, the repaint range and the
// selection. Display side effects go through ConsoleView; the widget only turns its
// events into calls here and paints what repaint_lines() names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vozo/console_view.h"
#include "vozo/line_store.h"

namespace vozo {

// Scroll requests, as the scroll bars send them.
enum ScrollCode : int32_t {
  SB_LINEUP = 0,
  SB_LINELEFT = 0,
  SB_LINEDOWN = 1,
  SB_LINERIGHT = 1,
  SB_PAGEUP = 2,
  SB_PAGELEFT = 2,
  SB_PAGEDOWN = 3,
  SB_PAGERIGHT = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_TOP = 6,
  SB_LEFT = 6,
  SB_BOTTOM = 7,
  SB_RIGHT = 7,
  SB_ENDSCROLL = 8,
};

// Keys the console acts on; everything else is ignored.
enum class Key { home, end, page_up, page_down, up, down, left, right, insert, del, other };

// Character codes with a meaning of their own.
inline constexpr uint8_t code_backspace = 8;
inline constexpr uint8_t code_tab = 9;
inline constexpr uint8_t code_line_feed = 10;
inline constexpr uint8_t code_return = 13;

// Most bytes a paste sends to the window (fewer when the limit would split a character).
inline constexpr int32_t paste_limit = 1024;

// The title of the program's own console; its saves default to "Untitled".
inline constexpr std::string_view console_title = "Input/Output";

// 0-based inclusive range of lines; empty when last < first.
struct LineRange {
  int32_t first = 0;
  int32_t last = -1;
};

// Text on this platform's clipboard ends its lines with a bare line feed where a
// typed line ends with a carriage return: each bare line feed becomes one, so that a
// pasted line break completes an input line as the Return key does.
std::string typed_line_ends(std::string_view clipboard_text);

class ConsoleState {
 public:
  // A new window: empty, a new line pending.
  explicit ConsoleState(ConsoleView& view, int32_t char_width = 8, int32_t char_height = 16);
  ConsoleState(const ConsoleState&) = delete;
  ConsoleState& operator=(const ConsoleState&) = delete;

  // --- size and font -----------------------------------------------------------
  // The client area changed size (pixels): recomputes visible rows and columns and
  // the scroll ranges.
  void resize(int32_t client_width, int32_t client_height);
  // A new font was chosen: new cell size, then as resize; repaints everything.
  void change_font(int32_t char_width, int32_t char_height, int32_t client_width,
                   int32_t client_height);
  // A new text colour (0xRRGGBB); repaints everything.
  void set_text_color(uint32_t rgb);

  // --- typing ------------------------------------------------------------------
  // Columns are cells: one per character of the UTF-8 text (text_cells.h), whatever
  // its number of bytes.
  // One byte typed (or sent by output or paste): a code, an ASCII character, or a byte
  // of a UTF-8 sequence, which joins the bytes before it once it completes them.
  void on_char(uint8_t code);
  // UTF-8 text typed, a character at a time.
  void type_text(std::string_view text);
  // Takes back what was typed after the prompt, leaving the caret at the input start: an
  // answer chosen in a dialog replaces a name begun by hand.
  void erase_typed_input();
  void on_key(Key key);
  // Shift with Left, Right, Home or End: moves the caret along its line, the selection
  // following it from where it started.
  void extend_selection(Key key);

  // --- scrolling ---------------------------------------------------------------
  // A vertical or horizontal scroll request; thumb is the bar's position for the
  // thumb codes.
  void on_vscroll(int32_t code, int32_t thumb = 0);
  void on_hscroll(int32_t code, int32_t thumb = 0);
  // Recomputes both scroll maxima, clamps the positions and tells the bars.
  void reset_scroll_ranges();

  // --- program side ------------------------------------------------------------
  // Program output: one final line feed is dropped, every other byte is typed.
  void append_output(std::string_view bytes);
  // The last line right of the input start column, cut to capacity - 2 columns of the
  // line, followed by CR LF; returns the bytes stored into buffer (0 if capacity < 2).
  int32_t take_input_line(char* buffer, int32_t capacity);
  std::string take_input_line(int32_t capacity);
  // Empties the window; the next output starts line 1 at column 0.
  void clear();
  bool waiting_for_line() const { return waiting_; }
  void set_waiting_for_line(bool waiting) { waiting_ = waiting; }

  // --- painting ----------------------------------------------------------------
  // Lines to draw for an invalid band of the client area (pixel rows).
  LineRange repaint_lines(int32_t invalid_top, int32_t invalid_bottom) const;
  // Whether the selection's line is to be drawn by a repaint.
  bool selection_in_view() const;
  // After a repaint: places the caret.
  void finish_paint();

  // --- selection and clipboard -------------------------------------------------
  // Mouse positions are pixels in the client area.
  void mouse_press();
  void mouse_move(int32_t x, int32_t y, bool left_held);
  void mouse_release();
  void double_click(int32_t x, int32_t y);
  // The selected bytes, whole characters (empty without a selection).
  std::string selection_text() const;
  // The selection was placed on the clipboard (Copy or Cut succeeded): Paste is enabled.
  void clipboard_stored();
  // Deletes the selected characters from their line and clears the selection.
  void delete_selection();
  // Sends up to paste_limit bytes of text, up to its first NUL, as typed text.
  void paste(std::string_view text);

  // --- changes ---------------------------------------------------------------
  // Counts the edits and output so far: a saved document compares it with the count
  // at its save.
  uint64_t revision() const { return revision_; }

  // --- read access for painting and tests --------------------------------------
  const LineStore& store() const { return store_; }
  int32_t char_width() const { return char_width_; }
  int32_t char_height() const { return char_height_; }
  uint32_t text_color() const { return text_color_; }
  int32_t visible_columns() const { return visible_columns_; }
  int32_t visible_rows() const { return visible_rows_; }
  int32_t caret_column() const { return caret_column_; }
  // The caret's byte in the last line.
  int32_t caret_byte() const { return caret_byte_; }
  int32_t caret_line() const { return caret_line_; }
  int32_t horizontal_max() const { return horizontal_max_; }
  int32_t horizontal_pos() const { return horizontal_pos_; }
  int32_t vertical_max() const { return vertical_max_; }
  int32_t top() const { return top_; }
  bool new_line_pending() const { return new_line_pending_; }
  int32_t input_start() const { return input_start_; }
  bool has_selection() const { return selection_; }
  int32_t selection_line() const { return selection_line_; }
  int32_t selection_start() const { return selection_start_; }
  int32_t selection_end() const { return selection_end_; }
  bool dragging() const { return dragging_; }

 private:
  void move_caret();
  void scroll_to_bottom() { on_vscroll(SB_BOTTOM); }
  bool key_insert();
  void key_delete();
  void type_return();
  void enter(std::string_view character);
  void type_other(std::string_view character);
  // The text of the caret's line (empty while a new line is pending).
  std::string_view caret_text() const;
  void set_caret_column(int32_t column);
  // After bytes of the last line changed around the caret: recounts its cells and puts
  // the caret back on the boundary of a character.
  void resync_caret();
  // The same after bytes went in or out at byte `at` of the caret's line, `column` the
  // cells before `at`, with the caret wanted at byte `caret`: reads the line from at most
  // three bytes before `at` only, so that a long run of stray bytes or backspaces does not
  // cost the square of its length.
  void resync_from(int32_t at, int32_t column, int32_t caret);
  // Scrolls sideways, when needed, so that the caret's cell is one of the visible ones.
  void keep_caret_in_view();
  // Tells the view, once until the window is cleared, that the store refused text.
  void check_store_full() {
    if (told_store_full_ || !store_.overflowed()) return;
    told_store_full_ = true;
    view_.store_full();
  }
  void invalidate_selection();
  void clear_selection();
  void gray_selection_commands();
  void enable_selection_commands();
  int32_t pointer_column(int32_t x) const;
  int32_t pointer_line(int32_t y) const;
  int32_t length_of(int32_t line0) const;

  ConsoleView& view_;
  int32_t char_height_;
  int32_t char_width_;
  uint32_t text_color_ = 0;
  int32_t client_width_ = 0;
  int32_t client_height_ = 0;
  int32_t visible_columns_ = 0;
  int32_t visible_rows_ = 0;
  int32_t caret_column_ = 0;
  int32_t caret_line_ = 0;
  // The caret's byte in its line, and the number of cells of that line, kept with the
  // caret so that appending costs no walk along the line.
  int32_t caret_byte_ = 0;
  int32_t line_cells_ = 0;
  bool told_store_full_ = false;
  int32_t horizontal_max_ = 0;
  int32_t horizontal_pos_ = 0;
  int32_t vertical_max_ = 0;
  int32_t top_ = 0;
  bool new_line_pending_ = true;
  bool selection_ = false;
  int32_t selection_line_ = 0;
  int32_t selection_start_ = 0;
  int32_t selection_end_ = 0;
  bool dragging_ = false;
  // Whether Cut, Copy and Delete are enabled: -1 unknown (as the menu starts), 0, 1.
  int8_t selection_commands_ = -1;
  LineStore store_;
  bool waiting_ = false;
  int32_t input_start_ = 0;
  uint64_t revision_ = 0;
};

}  // namespace vozo
