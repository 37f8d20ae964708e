// Found by fuzzing the console logic: the Delete key leaves the selection as it is, so
// after it shortens the selected line the selection may reach past the line's end. Copy
// and Delete must then act only on what is left of the line, and the caret must stay
// within it.
#include <gtest/gtest.h>

#include <string>

#include "fake_view.h"
#include "vozo/console_state.h"

namespace vozo {
namespace {

using testing::cell_h;
using testing::cell_w;
using testing::FakeView;
using testing::line;
using testing::size_in_cells;
using testing::type;

void press(ConsoleState& console, Key key, int times) {
  for (int k = 0; k < times; ++k) console.on_key(key);
}

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
