// SPDX-License-Identifier: GPL-3.0-or-later
// Selecting with the mouse, deleting the selection and pasting.
#include <gtest/gtest.h>

#include <string>

#include "fake_view.h"
#include "vozo/console_document.h"
#include "vozo/console_state.h"

namespace vozo {
namespace {

using testing::cell_h;
using testing::cell_w;
using testing::FakeView;
using testing::line;
using testing::press;
using testing::size_in_cells;
using testing::type;

// Pixel inside a cell.
int32_t px(int32_t column) {
  return column * cell_w + 3;
}
int32_t py(int32_t row) {
  return row * cell_h + 5;
}

class ConsoleSelection : public ::testing::Test {
 protected:
  ConsoleSelection() {
    size_in_cells(console, 80, 10);
    console.append_output("hello world\r\n");
    console.append_output("ab cd");  // the last line, caret at its end
  }
  void drag(int32_t row, std::initializer_list<int32_t> columns) {
    console.mouse_press();
    for (int32_t c : columns) console.mouse_move(px(c), py(row), true);
  }
  FakeView view;
  ConsoleState console{view};
};

TEST_F(ConsoleSelection, DragSelectsFromPressToPointerAndEnablesCommands) {
  drag(0, {2, 7});
  EXPECT_TRUE(console.has_selection());
  EXPECT_EQ(console.selection_start(), 2);
  EXPECT_EQ(console.selection_end(), 7);
  EXPECT_FALSE(view.menu[IDM_COPY]);
  console.mouse_release();
  EXPECT_EQ(console.selection_text(), "llo w");
  EXPECT_TRUE(view.menu[IDM_CUT]);
  EXPECT_TRUE(view.menu[IDM_COPY]);
  EXPECT_TRUE(view.menu[IDM_DELETE]);
  EXPECT_FALSE(console.dragging());
}

TEST_F(ConsoleSelection, MovingInsideTheSelectionMovesTheNearerEnd) {
  struct Case {
    int32_t column;
    int32_t start, end;
  };
  // From a selection 2..7 each time.
  const Case cases[] = {
      {3, 3, 7},    // nearer the start
      {6, 2, 6},    // nearer the end
      {4, 4, 7},    // |2-4| = 2 < |7-4| = 3: the start is nearer
      {1, 1, 7},    // before the start: the start follows
      {9, 2, 9},    // past the end: the end follows
      {40, 2, 11},  // past the line's end: the end stops there
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column);
    drag(0, {2, 7, c.column});
    EXPECT_EQ(console.selection_start(), c.start);
    EXPECT_EQ(console.selection_end(), c.end);
  }
}

TEST_F(ConsoleSelection, TieBetweenTheEndsMovesTheEnd) {
  drag(0, {2, 6, 4});
  EXPECT_EQ(console.selection_start(), 2);
  EXPECT_EQ(console.selection_end(), 4);
}

TEST_F(ConsoleSelection, DragEndingWhereItStartedLeavesNothing) {
  view.menu_calls.clear();
  drag(0, {3, 3});
  console.mouse_release();
  EXPECT_TRUE(view.menu_calls.empty());
  EXPECT_FALSE(console.has_selection());
  EXPECT_EQ(console.selection_text(), "");
  EXPECT_FALSE(view.menu[IDM_CUT]);
  EXPECT_FALSE(view.menu[IDM_COPY]);
  EXPECT_FALSE(view.menu[IDM_DELETE]);
}

TEST_F(ConsoleSelection, SelectionStartsOnlyOverTextAndStaysOnItsLine) {
  drag(0, {20});
  EXPECT_FALSE(console.has_selection());
  console.mouse_move(px(5), py(0), true);
  EXPECT_TRUE(console.has_selection());
  console.mouse_move(px(8), py(1), true);  // another line: no change
  EXPECT_EQ(console.selection_line(), 0);
  EXPECT_EQ(console.selection_end(), 5);
  console.mouse_move(px(8), py(0), false);  // button no longer held
  EXPECT_EQ(console.selection_end(), 5);
  console.mouse_release();
  console.mouse_move(px(9), py(0), true);  // not dragging any more
  EXPECT_FALSE(console.has_selection());
}

TEST_F(ConsoleSelection, DoubleClickSelectsTheWordUnderThePointer) {
  struct Case {
    int32_t row, column;
    const char* text;
  };
  const Case cases[] = {
      {0, 0, "hello"}, {0, 4, "hello"}, {0, 6, "world"}, {0, 10, "world"},
      {1, 3, "cd"},    {1, 4, "cd"},    {1, 1, "ab"},    {0, 5, ""},  // on the blank: nothing
      {0, 30, ""},                                                    // past the end of the line
      {5, 0, ""},                                                     // below the last line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.row << "," << c.column);
    console.mouse_press();
    console.mouse_release();
    console.double_click(px(c.column), py(c.row));
    EXPECT_EQ(console.selection_text(), c.text);
    EXPECT_LE(console.selection_start(), console.selection_end());
    console.mouse_release();
    EXPECT_EQ(console.has_selection(), std::string(c.text).size() > 0);
    EXPECT_EQ(view.menu[IDM_COPY], std::string(c.text).size() > 0);
  }
}

TEST_F(ConsoleSelection, DeletingTheSelectionMovesTheCaretWithTheText) {
  struct Case {
    int32_t start, end;  // on the caret's line "ab cd", caret at 5
    const char* text;
    int32_t caret;
  };
  const Case cases[] = {
      {0, 3, "cd", 2},  // before the caret
      {2, 5, "ab", 2},  // reaching the caret
      {1, 2, "a cd", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    FakeView v;
    ConsoleState con(v);
    ConsoleDocument doc(con);
    size_in_cells(con, 80, 10);
    con.append_output("hello world\r\n");
    con.append_output("ab cd");
    con.mouse_press();
    con.mouse_move(px(c.start), py(1), true);
    con.mouse_move(px(c.end), py(1), true);
    con.mouse_release();
    doc.mark_saved();
    con.delete_selection();
    EXPECT_EQ(line(con, 2), c.text);
    EXPECT_EQ(con.caret_column(), c.caret);
    EXPECT_FALSE(con.has_selection());
    EXPECT_FALSE(v.menu[IDM_DELETE]);
    EXPECT_TRUE(doc.modified());
  }
}

TEST_F(ConsoleSelection, DeletingOnAnEarlierLineLeavesTheOthersIntact) {
  drag(0, {0, 6});
  console.mouse_release();
  console.delete_selection();
  EXPECT_EQ(line(console, 1), "world");
  EXPECT_EQ(line(console, 2), "ab cd");
  EXPECT_EQ(console.caret_column(), 5);
  // Typing still goes to the last line.
  type(console, "!");
  EXPECT_EQ(line(console, 2), "ab cd!");
}

TEST_F(ConsoleSelection, CopyEnablesPaste) {
  drag(0, {0, 5});
  console.mouse_release();
  EXPECT_EQ(console.selection_text(), "hello");
  console.clipboard_stored();
  EXPECT_TRUE(view.menu[IDM_PASTE]);
}

TEST_F(ConsoleSelection, TypingClearsTheSelection) {
  drag(0, {0, 5});
  console.mouse_release();
  type(console, "x");
  EXPECT_FALSE(console.has_selection());
  EXPECT_FALSE(view.menu[IDM_COPY]);
}

TEST_F(ConsoleSelection, PasteTypesAtMost1024BytesUpToANul) {
  console.paste(std::string(2000, 'p'));
  EXPECT_EQ(line(console, 2), "ab cd" + std::string(1024, 'p'));
  console.paste(std::string("xy\0zz", 5));
  EXPECT_EQ(line(console, 2).substr(5 + 1024), "xy");
}

TEST_F(ConsoleSelection, PastedReturnCompletesAWaitingRead) {
  console.set_waiting_for_line(true);
  console.paste("ef\rgh");
  EXPECT_FALSE(console.waiting_for_line());
  EXPECT_EQ(line(console, 2), "ab cdef");
  EXPECT_EQ(line(console, 3), "gh");
}

TEST(TypedLineEnds, BareLineFeedsBecomeReturns) {
  EXPECT_EQ(typed_line_ends("data.txt\n"), "data.txt\r");
  EXPECT_EQ(typed_line_ends("\na\n\nb"), "\ra\r\rb");
  // Lines that already end with a carriage return are typed as they stand.
  EXPECT_EQ(typed_line_ends("a\r\nb\r"), "a\r\nb\r");
  EXPECT_EQ(typed_line_ends(""), "");
}

// Found by fuzzing the console logic: the Delete key leaves the selection as it is, so
// after it shortens the selected line the selection may reach past the line's end. Copy
// and Delete must then act only on what is left of the line, and the caret must stay
// within it.

TEST(ConsoleSelectionRegression, SelectionPartlyPastTheLineEnd) {
  FakeView view;
  ConsoleState console(view);
  size_in_cells(console, 80, 10);
  console.append_output("abcdef");
  console.double_click(1 * cell_w + 3, 5);  // the word abcdef: columns 0 to 6
  press(console, Key::left, 3);             // caret at column 3
  press(console, Key::del, 2);              // "abcf"; the selection still ends at 6
  ASSERT_EQ(line(console, 1), "abcf");
  ASSERT_TRUE(console.has_selection());
  EXPECT_EQ(console.selection_text(), "abcf");

  console.delete_selection();
  EXPECT_EQ(line(console, 1), "");
  EXPECT_EQ(console.caret_column(), 0);
  EXPECT_FALSE(console.has_selection());
  type(console, "x");
  EXPECT_EQ(line(console, 1), "x");
  EXPECT_EQ(console.caret_column(), 1);
}

TEST_F(ConsoleSelection, ShiftKeysExtendTheSelectionFromTheCaret) {
  // The caret is at the end of "ab cd"; the far end of the selection stays put.
  console.extend_selection(Key::left);
  console.extend_selection(Key::left);
  EXPECT_EQ(console.selection_text(), "cd");
  EXPECT_TRUE(view.menu[IDM_CUT]);
  console.extend_selection(Key::home);
  EXPECT_EQ(console.selection_text(), "ab cd");
  console.extend_selection(Key::right);
  EXPECT_EQ(console.selection_text(), "b cd");
  EXPECT_EQ(console.caret_column(), 1);
  console.extend_selection(Key::end);
  EXPECT_FALSE(console.has_selection());
  EXPECT_FALSE(view.menu[IDM_COPY]);
  EXPECT_EQ(console.caret_column(), 5);
}

TEST(ConsoleSelectionRegression, SelectionWhollyPastTheLineEnd) {
  FakeView view;
  ConsoleState console(view);
  size_in_cells(console, 80, 10);
  console.append_output("ab cdef");
  console.double_click(4 * cell_w + 3, cell_h / 2);  // the word cdef: columns 3 to 7
  press(console, Key::left, 7);                      // caret at column 0
  press(console, Key::del, 5);                       // "ef"
  ASSERT_EQ(line(console, 1), "ef");
  ASSERT_TRUE(console.has_selection());
  EXPECT_EQ(console.selection_text(), "");

  console.delete_selection();
  EXPECT_EQ(line(console, 1), "ef");
  EXPECT_EQ(console.caret_column(), 0);
  type(console, "z");
  EXPECT_EQ(line(console, 1), "zef");
}

}  // namespace
}  // namespace vozo
