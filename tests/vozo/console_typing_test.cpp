// SPDX-License-Identifier: GPL-3.0-or-later
// Typing, program output and input lines of a console.
#include <gtest/gtest.h>

#include <string>

#include "fake_view.h"
#include "vozo/console_document.h"
#include "vozo/console_state.h"

namespace vozo {
namespace {

using testing::FakeView;
using testing::line;
using testing::size_in_cells;
using testing::type;

class ConsoleTyping : public ::testing::Test {
 protected:
  ConsoleTyping() { size_in_cells(console, 80, 20); }
  FakeView view;
  ConsoleState console{view};
};

TEST_F(ConsoleTyping, OutputRecordsBecomeLinesAndLeaveANewLinePending) {
  console.append_output("ab\r\n");
  console.append_output("c\r\n");
  EXPECT_EQ(console.store().line_count(), 2);
  EXPECT_EQ(line(console, 1), "ab");
  EXPECT_EQ(line(console, 2), "c");
  EXPECT_EQ(console.caret_column(), 0);
  EXPECT_EQ(console.caret_line(), 2);
  EXPECT_TRUE(console.new_line_pending());
}

TEST_F(ConsoleTyping, PromptThenTypingWithBackspaceReadsOnlyTheTypedText) {
  console.append_output("Name: ");
  EXPECT_EQ(console.input_start(), 6);
  console.set_waiting_for_line(true);
  type(console, "x\bst");
  EXPECT_TRUE(console.waiting_for_line());
  type(console, "\r");
  EXPECT_FALSE(console.waiting_for_line());
  EXPECT_EQ(console.take_input_line(256), "st\r\n");
  EXPECT_EQ(line(console, 1), "Name: st");
  EXPECT_EQ(console.input_start(), 0);
  EXPECT_EQ(console.store().line_count(), 1);
}

TEST_F(ConsoleTyping, BackspaceIntoThePromptLeavesAnEmptyAnswer) {
  console.append_output("Name: ");
  type(console, "\b\b\r");
  EXPECT_EQ(line(console, 1), "Name");
  EXPECT_EQ(console.take_input_line(256), "\r\n");
}

TEST_F(ConsoleTyping, BackspaceAtColumnZeroDoesNothing) {
  type(console, "\b");
  EXPECT_EQ(console.store().line_count(), 0);
  type(console, "a\b\b");
  EXPECT_EQ(line(console, 1), "");
  EXPECT_EQ(console.caret_column(), 0);
}

TEST_F(ConsoleTyping, TabFillsToTheNextMultipleOfEight) {
  struct Case {
    const char* before;
    const char* expected;
  };
  const Case cases[] = {
      {"abcde", "abcde   "},             // column 5: three blanks
      {"abcdefgh", "abcdefgh        "},  // column 8: eight
      {"", "        "},                  // column 0: eight
      {"abcdefg", "abcdefg "},           // column 7: one
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.before);
    FakeView v;
    ConsoleState con(v);
    size_in_cells(con, 80, 20);
    type(con, std::string(c.before) + "\t");
    EXPECT_EQ(line(con, 1), c.expected);
    EXPECT_EQ(con.caret_column(), static_cast<int32_t>(std::string(c.expected).size()));
  }
}

TEST_F(ConsoleTyping, LineFeedsInsideOutputShowAsBlanksAndAFinalOneIsDropped) {
  console.append_output("a\nb\n");
  EXPECT_EQ(console.store().line_count(), 1);
  EXPECT_EQ(line(console, 1), "a b");
  EXPECT_FALSE(console.new_line_pending());
  EXPECT_EQ(console.input_start(), 3);
  console.append_output("\n");  // a lone final line feed adds nothing
  EXPECT_EQ(line(console, 1), "a b");
}

TEST_F(ConsoleTyping, EmptyRecordsAndReturnOnAPendingLineStoreEmptyLines) {
  console.append_output("x\r\n");
  console.append_output("\r\n");
  type(console, "\r");
  EXPECT_EQ(console.store().line_count(), 3);
  EXPECT_EQ(line(console, 2), "");
  EXPECT_EQ(line(console, 3), "");
  EXPECT_EQ(console.take_input_line(256), "\r\n");
}

TEST_F(ConsoleTyping, ArrowsStayWithinTheLastLine) {
  type(console, "ab");
  for (int i = 0; i < 3; ++i) console.on_key(Key::left);
  EXPECT_EQ(console.caret_column(), 0);
  for (int i = 0; i < 5; ++i) console.on_key(Key::right);
  EXPECT_EQ(console.caret_column(), 2);
  EXPECT_EQ(view.caret_x, 2);
  EXPECT_EQ(view.caret_y, 0);
  type(console, "\r");
  console.on_key(Key::right);
  EXPECT_EQ(console.caret_column(), 0);
}

TEST_F(ConsoleTyping, TypingInsideTheLineInsertsAndDeleteRemoves) {
  type(console, "abc");
  console.on_key(Key::left);
  console.on_key(Key::left);
  type(console, "X");
  EXPECT_EQ(line(console, 1), "aXbc");
  EXPECT_EQ(console.caret_column(), 2);
  console.on_key(Key::insert);
  EXPECT_EQ(line(console, 1), "aX bc");
  EXPECT_EQ(console.caret_column(), 2);
  console.on_key(Key::del);
  console.on_key(Key::del);
  EXPECT_EQ(line(console, 1), "aXc");
  // The repaint covers the rest of the caret's row.
  EXPECT_EQ(view.calls.back(), "right 2,0");
  // Delete at the end of the line leaves it alone.
  console.on_key(Key::right);
  console.on_key(Key::del);
  EXPECT_EQ(line(console, 1), "aXc");
}

TEST_F(ConsoleTyping, InsertAndDeleteWaitForALineToBeStarted) {
  console.append_output("ab\r\n");
  console.on_key(Key::insert);
  console.on_key(Key::del);
  EXPECT_EQ(console.store().line_count(), 1);
  EXPECT_EQ(line(console, 1), "ab");
}

TEST_F(ConsoleTyping, InputLineIsCutToTheReadCapacity) {
  console.append_output("P>");
  const std::string answer(300, 'w');
  type(console, answer + "\r");
  // Columns 3 to 254 of the line: 252 characters, then CR LF.
  EXPECT_EQ(console.take_input_line(256), std::string(252, 'w') + "\r\n");
  type(console, "abc\r");
  EXPECT_EQ(console.take_input_line(4), "ab\r\n");
  EXPECT_EQ(console.take_input_line(2), "\r\n");
  char tiny[1] = {'#'};
  EXPECT_EQ(console.take_input_line(tiny, 1), 0);
  EXPECT_EQ(tiny[0], '#');
}

TEST_F(ConsoleTyping, ClearStartsOverAtLineOneColumnZero) {
  for (int i = 0; i < 30; ++i) console.append_output("line\r\n");
  console.append_output("prompt");
  console.clear();
  EXPECT_EQ(console.store().line_count(), 0);
  EXPECT_EQ(console.top(), 0);
  EXPECT_EQ(view.vertical_range, 0);
  EXPECT_EQ(view.calls.back(), "all");
  console.append_output("q\r\n");
  EXPECT_EQ(console.store().line_count(), 1);
  EXPECT_EQ(line(console, 1), "q");
  EXPECT_EQ(console.caret_line(), 1);
  EXPECT_EQ(console.store().longest(), 1);
}

TEST_F(ConsoleTyping, AFullStoreDropsCharactersInsteadOfOverwriting) {
  for (int i = 0; i < 32767; ++i) type(console, "\r");
  EXPECT_EQ(console.store().line_count(), 32767);
  console.append_output("more\r\nand more");
  EXPECT_EQ(console.store().line_count(), 32767);
  EXPECT_EQ(line(console, 32767), "");
  EXPECT_EQ(console.take_input_line(256), "\r\n");
}

TEST_F(ConsoleTyping, EveryEditAndOutputModifiesTheDocument) {
  ConsoleDocument document(console);
  EXPECT_TRUE(document.modified());  // a new window counts as modified
  document.mark_saved();
  EXPECT_FALSE(document.modified());
  type(console, "a");
  EXPECT_TRUE(document.modified());
  document.mark_saved();
  console.append_output("");
  EXPECT_TRUE(document.modified());
}

TEST_F(ConsoleTyping, TypingGraysTheSelectionCommandsOnce) {
  type(console, "abc");
  EXPECT_FALSE(view.menu[IDM_CUT]);
  EXPECT_FALSE(view.menu[IDM_COPY]);
  EXPECT_FALSE(view.menu[IDM_DELETE]);
  EXPECT_EQ(view.menu_calls.size(), 3u);
}

TEST_F(ConsoleTyping, DefaultTitleOfTheProgramConsoleIsUntitled) {
  ConsoleDocument document(console);
  EXPECT_EQ(document.title(), "Input/Output");
  EXPECT_EQ(document.default_title(), "Untitled");
  document.set_file("/tmp/run.txt", "run.txt");
  EXPECT_EQ(document.default_title(), "run.txt");
  EXPECT_TRUE(document.named());
  EXPECT_EQ(document.file_name(), "/tmp/run.txt");
}

}  // namespace
}  // namespace vozo
