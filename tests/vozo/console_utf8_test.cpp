// SPDX-License-Identifier: GPL-3.0-or-later
// UTF-8 text in a console: one cell per character, editing by whole characters, input
// lines and copies as the bytes typed; the caret kept in sight; a full store told once.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_view.h"
#include "vozo/console_state.h"
#include "vozo/text_cells.h"
#include "vozo/text_file.h"

namespace vozo {
namespace {

using testing::cell_h;
using testing::cell_w;
using testing::FakeView;
using testing::line;
using testing::press;
using testing::size_in_cells;

TEST(TextCells, EachCharacterIsOneCellAndStrayBytesShowAsLatin1) {
  struct Case {
    const char* bytes;
    std::u32string shown;
  };
  const Case cases[] = {
      {"ab", U"ab"},
      {"d\xC3\xA9j\xC3\xA0", U"d\u00E9j\u00E0"},          // 2-byte characters
      {"\xE2\x82\xAC=", U"\u20AC="},                      // 3 bytes
      {"\xF0\x9D\x84\x9Ex", U"\U0001D11Ex"},              // 4 bytes
      {"r\xE9p", U"r\u00E9p"},                            // a Latin-1 byte
      {"\xE2\x82x", U"\u00E2\u0082x"},                    // a cut sequence
      {"\xC0\xAF", U"\u00C0\u00AF"},                      // an overlong form
      {"\xED\xA0\x80", U"\u00ED\u00A0\u0080"},            // a surrogate
      {"\xF4\x90\x80\x80", U"\u00F4\u0090\u0080\u0080"},  // past U+10FFFF
      {"\xA9\xC3", U"\u00A9\u00C3"},                      // continuation first, lead last
  };
  for (const Case& c : cases) {
    const std::string_view text(c.bytes);
    SCOPED_TRACE(text);
    std::u32string shown;
    std::vector<int32_t> starts;
    for (int32_t at = 0; at < static_cast<int32_t>(text.size()); at += char_size(text, at)) {
      starts.push_back(at);
      shown += char_code(text, at);
    }
    EXPECT_EQ(shown, c.shown);
    EXPECT_EQ(cell_count(text), static_cast<int32_t>(c.shown.size()));
    for (size_t k = 0; k < starts.size(); ++k) {
      EXPECT_EQ(byte_of_cell(text, static_cast<int32_t>(k)), starts[k]);
      EXPECT_EQ(cell_of_byte(text, starts[k]), static_cast<int32_t>(k));
      EXPECT_EQ(boundary_before(text, starts[k]), starts[k]);
      const int32_t end = k + 1 < starts.size() ? starts[k + 1] : static_cast<int32_t>(text.size());
      EXPECT_EQ(char_start_before(text, end), starts[k]);
    }
    EXPECT_EQ(byte_of_cell(text, 99), static_cast<int32_t>(text.size()));
  }
  // Inside a character: the cell after it, the boundary before it.
  EXPECT_EQ(cell_of_byte("\xE2\x82\xAC=", 1), 1);
  EXPECT_EQ(boundary_before("\xE2\x82\xAC=", 2), 0);
}

class ConsoleUtf8 : public ::testing::Test {
 protected:
  ConsoleUtf8() { size_in_cells(console, 80, 10); }
  FakeView view;
  ConsoleState console{view};
};

TEST_F(ConsoleUtf8, EditingKeepsTheBytesOfACharacterTogether) {
  struct Case {
    const char* name;
    void (*edit)(ConsoleState&);
    const char* line;
    int32_t caret_column;
  };
  const Case cases[] = {
      {"typed",
       [](ConsoleState& c) {
         c.type_text(
             "donn\xC3\xA9"
             "es.txt");
       },
       "donn\xC3\xA9"
       "es.txt",
       11},
      {"backspace after a 2-byte character",
       [](ConsoleState& c) {
         c.type_text("r\xC3\xA9");
         c.on_char(code_backspace);
       },
       "r", 1},
      {"backspace and delete around a 4-byte character",
       [](ConsoleState& c) {
         c.type_text(
             "a\xE2\x82\xAC\xF0\x9D\x84\x9E"
             "b");
         press(c, Key::left, 2);
         c.on_char(code_backspace);
         c.on_key(Key::del);
       },
       "ab", 1},
      {"typing between characters",
       [](ConsoleState& c) {
         c.type_text("\xC3\xA9\xC3\xA9");
         c.on_key(Key::left);
         c.type_text("\xE2\x82\xAC");
       },
       "\xC3\xA9\xE2\x82\xAC\xC3\xA9", 2},
      {"bytes typed one by one join into their character",
       [](ConsoleState& c) {
         c.on_char(0xC3);
         c.on_char(0xA9);
         c.on_char('x');
       },
       "\xC3\xA9x", 2},
      {"a stray byte is a character of its own",
       [](ConsoleState& c) {
         c.type_text("\xE9x");
         c.on_key(Key::left);
         c.on_char(code_backspace);
       },
       "x", 0},
      {"right stops at the end of the line",
       [](ConsoleState& c) {
         c.type_text("\xC3\xA9\xC3\xA9");
         press(c, Key::left, 2);
         press(c, Key::right, 5);
       },
       "\xC3\xA9\xC3\xA9", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeView v;
    ConsoleState con(v);
    size_in_cells(con, 80, 10);
    c.edit(con);
    EXPECT_EQ(line(con, 1), c.line);
    EXPECT_EQ(con.caret_column(), c.caret_column);
    EXPECT_EQ(con.caret_byte(), byte_of_cell(c.line, c.caret_column));
    EXPECT_EQ(v.caret_x, c.caret_column);
  }
}

TEST_F(ConsoleUtf8, StrayBytesKeepTheCaretWhereARecountPutsIt) {
  // Bytes one at a time and backspaces, at the end of the line and inside it, as program
  // output and typed text bring them: the caret's cell and byte and the line's end must be
  // those that reading the whole line gives.
  const char pool[] = {'a', '\x80', '\xBF', '\xC3', '\xA9', '\xE2', '\x82', '\xF0', '\x9D', '\xFF'};
  uint32_t seed = 12345;
  auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
  for (int32_t round = 0; round < 400; ++round) {
    const char byte = pool[next() % sizeof pool];
    const uint32_t how = next() % 8;
    if (how < 2) {
      press(console, Key::left, static_cast<int32_t>(next() % 3));
      console.type_text(std::string(1, byte));
    } else if (how == 2) {
      press(console, Key::left, static_cast<int32_t>(next() % 3));
      console.on_char(code_backspace);
    } else if (how == 3) {
      console.append_output("\b");
    } else {
      console.append_output(std::string(1, byte));
    }
    const std::string text = line(console, console.store().line_count());
    ASSERT_EQ(console.caret_column(), cell_of_byte(text, console.caret_byte())) << round;
    ASSERT_EQ(console.caret_byte(), byte_of_cell(text, console.caret_column())) << round;
    press(console, Key::right, 8);
    ASSERT_EQ(console.caret_byte(), static_cast<int32_t>(text.size())) << round;
    ASSERT_EQ(console.caret_column(), cell_count(text)) << round;
  }
}

TEST_F(ConsoleUtf8, TheInputLineIsTheBytesTypedAndIsNeverCutInsideACharacter) {
  console.append_output(" New value = ");
  console.type_text("r\xC3\xA9port.txt\r");
  EXPECT_EQ(console.take_input_line(256), "r\xC3\xA9port.txt\r\n");
  console.append_output(">");
  console.type_text("\xC3\xA9\xC3\xA9\r");
  // Room for three bytes after the prompt: the second character would not fit whole.
  EXPECT_EQ(console.take_input_line(6), "\xC3\xA9\r\n");
}

TEST_F(ConsoleUtf8, SelectionCountsCellsAndCopiesWholeCharacters) {
  console.append_output("caf\xC3\xA9 cr\xC3\xA8me\r\n");
  console.type_text(
      "\xC3\xA0 b\xC3\xA9"
      "b\xC3\xA9");
  // Drag over cells 2 to 4 of the first line: "fé ".
  console.mouse_press();
  console.mouse_move(2 * cell_w + 1, 1, true);
  console.mouse_move(5 * cell_w + 1, 1, true);
  console.mouse_release();
  EXPECT_EQ(console.selection_text(), "f\xC3\xA9 ");
  // A double click takes the word under the pointer, accents and all.
  console.double_click(7 * cell_w + 1, 1);
  EXPECT_EQ(console.selection_start(), 5);
  EXPECT_EQ(console.selection_end(), 10);
  EXPECT_EQ(console.selection_text(), "cr\xC3\xA8me");
  // Deleting a selection left of the caret moves it by whole characters.
  console.double_click(3 * cell_w + 1, cell_h + 1);
  EXPECT_EQ(console.selection_text(),
            "b\xC3\xA9"
            "b\xC3\xA9");
  console.on_key(Key::left);
  console.double_click(1, cell_h + 1);
  console.delete_selection();
  EXPECT_EQ(line(console, 2),
            " b\xC3\xA9"
            "b\xC3\xA9");
  EXPECT_EQ(console.caret_column(), 4);
  EXPECT_EQ(console.caret_byte(), 5);
}

TEST_F(ConsoleUtf8, TheCaretStaysInSightOnALineWiderThanTheWindow) {
  size_in_cells(console, 10, 5);
  for (int i = 0; i < 25; ++i) {
    console.type_text(i % 2 == 0 ? "\xC3\xA9" : "x");
    ASSERT_GE(view.caret_x, 0);
    ASSERT_LT(view.caret_x, 10) << "after " << i + 1 << " characters";
  }
  EXPECT_EQ(console.horizontal_pos(), 16);
  EXPECT_EQ(view.horizontal_pos, 16);
  EXPECT_GE(view.horizontal_range, 16);
  press(console, Key::left, 20);
  EXPECT_EQ(view.caret_x, 0);
  EXPECT_EQ(console.horizontal_pos(), 5);
  press(console, Key::right, 20);
  EXPECT_EQ(view.caret_x, 9);
  // A narrower window (a vertical scroll bar appearing) keeps the caret in sight.
  size_in_cells(console, 7, 5);
  EXPECT_EQ(console.caret_column() - console.horizontal_pos(), 6);
  console.on_char(code_return);
  EXPECT_EQ(console.horizontal_pos(), 0);
}

TEST_F(ConsoleUtf8, AFullStoreIsToldOnceAndEndsTheSavedText) {
  console.append_output("kept\r\n");
  EXPECT_EQ(text_file_bytes(console.store()), "kept\r\n");
  const std::string filler(1000, 'f');
  while (console.store().text_size() + 1000 < LineStore::text_capacity) {
    console.append_output(filler + "\r\n");
  }
  EXPECT_EQ(view.store_full_told, 0);
  console.append_output(filler + "\r\n");
  console.append_output("lost\r\n");
  EXPECT_EQ(view.store_full_told, 1);
  const std::string saved = text_file_bytes(console.store());
  EXPECT_EQ(saved.substr(saved.size() - text_not_kept_line.size() - 2),
            std::string(text_not_kept_line) + "\r\n");
  console.clear();
  console.append_output("again\r\n");
  EXPECT_EQ(text_file_bytes(console.store()), "again\r\n");
}

}  // namespace
}  // namespace vozo
