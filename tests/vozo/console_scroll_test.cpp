// SPDX-License-Identifier: GPL-3.0-or-later
// Scroll ranges, scroll requests and the lines a repaint draws.
#include <gtest/gtest.h>

#include <string>

#include "fake_view.h"
#include "vozo/console_state.h"

namespace vozo {
namespace {

using testing::FakeView;
using testing::size_in_cells;
using testing::type;

void output_lines(ConsoleState& console, int count) {
  for (int i = 1; i <= count; ++i) console.append_output("line " + std::to_string(i) + "\r\n");
}

class ConsoleScroll : public ::testing::Test {
 protected:
  FakeView view;
  ConsoleState console{view};
};

TEST_F(ConsoleScroll, ViewFollowsTheTextOnceTheNinthOfTenRowsIsCompleted) {
  size_in_cells(console, 80, 10);
  output_lines(console, 8);
  EXPECT_EQ(console.top(), 0);
  EXPECT_TRUE(view.calls_starting("scroll").empty());
  output_lines(console, 1);
  EXPECT_EQ(console.top(), 1);
  EXPECT_EQ(console.vertical_max(), 1);
  EXPECT_EQ(view.vertical_pos, 1);
  EXPECT_EQ(view.calls_starting("scroll"), std::vector<std::string>{"scroll 0,-1"});
  output_lines(console, 11);
  EXPECT_EQ(console.top(), 12);
  EXPECT_EQ(console.vertical_max(), 12);  // 20 lines - 10 rows + 2
}

TEST_F(ConsoleScroll, VerticalRequestsMoveByTheirAmountWithinTheRange) {
  size_in_cells(console, 80, 10);
  output_lines(console, 30);
  ASSERT_EQ(console.top(), 22);
  ASSERT_EQ(console.vertical_max(), 22);
  struct Step {
    int32_t code;
    int32_t thumb;
    int32_t top;
  };
  const Step steps[] = {
      {SB_PAGEUP, 0, 12},   {SB_LINEUP, 0, 11},    {SB_LINEDOWN, 0, 12},     {SB_TOP, 0, 0},
      {SB_LINEUP, 0, 0},    {SB_THUMBTRACK, 7, 7}, {SB_THUMBPOSITION, 3, 7}, {SB_ENDSCROLL, 0, 7},
      {SB_PAGEDOWN, 0, 17}, {SB_PAGEDOWN, 0, 22},  {SB_THUMBTRACK, 99, 22},  {SB_PAGEUP, 0, 12},
      {SB_BOTTOM, 0, 22},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(::testing::Message() << "code " << s.code << " thumb " << s.thumb);
    view.calls.clear();
    const int32_t before = console.top();
    console.on_vscroll(s.code, s.thumb);
    EXPECT_EQ(console.top(), s.top);
    if (s.top == before) {
      EXPECT_TRUE(view.calls.empty());
    } else {
      EXPECT_EQ(view.calls, std::vector<std::string>{"scroll 0," + std::to_string(before - s.top)});
      EXPECT_EQ(view.vertical_pos, s.top);
    }
  }
}

TEST_F(ConsoleScroll, KeysScrollLikeTheBar) {
  size_in_cells(console, 80, 10);
  output_lines(console, 30);
  console.on_key(Key::home);
  EXPECT_EQ(console.top(), 0);
  console.on_key(Key::page_down);
  EXPECT_EQ(console.top(), 10);
  console.on_key(Key::down);
  EXPECT_EQ(console.top(), 11);
  console.on_key(Key::up);
  console.on_key(Key::page_up);
  EXPECT_EQ(console.top(), 0);
  console.on_key(Key::end);
  EXPECT_EQ(console.top(), 22);
}

TEST_F(ConsoleScroll, PageWithNoVisibleRowScrollsByOneLine) {
  console.resize(80, 10);  // less than one cell high
  ASSERT_EQ(console.visible_rows(), 0);
  output_lines(console, 5);
  const int32_t top = console.top();
  ASSERT_GT(top, 1);
  console.on_vscroll(SB_PAGEUP);
  EXPECT_EQ(console.top(), top - 1);
  console.on_vscroll(SB_PAGEDOWN);
  EXPECT_EQ(console.top(), top);
}

TEST_F(ConsoleScroll, HorizontalRequestsMoveOnReleaseOnly) {
  size_in_cells(console, 10, 10);
  console.append_output(std::string(30, 'x') + "\r\n");
  EXPECT_EQ(console.horizontal_pos(), 0);  // a return scrolls back to column 0
  ASSERT_EQ(console.horizontal_max(), 20);
  struct Step {
    int32_t code;
    int32_t thumb;
    int32_t pos;
  };
  const Step steps[] = {
      {SB_PAGERIGHT, 0, 8},   {SB_LINERIGHT, 0, 9},       {SB_LINELEFT, 0, 8},
      {SB_THUMBTRACK, 15, 8}, {SB_THUMBPOSITION, 15, 15}, {SB_PAGERIGHT, 0, 20},
      {SB_RIGHT, 0, 20},      {SB_PAGELEFT, 0, 12},       {SB_LEFT, 0, 0},
      {SB_PAGELEFT, 0, 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(::testing::Message() << "code " << s.code << " thumb " << s.thumb);
    view.calls.clear();
    const int32_t before = console.horizontal_pos();
    console.on_hscroll(s.code, s.thumb);
    EXPECT_EQ(console.horizontal_pos(), s.pos);
    if (s.pos != before) {
      EXPECT_EQ(view.calls,
                std::vector<std::string>{"scroll " + std::to_string(before - s.pos) + ",0"});
      EXPECT_EQ(view.horizontal_pos, s.pos);
    }
  }
}

TEST_F(ConsoleScroll, RangesFollowTheWindowSize) {
  size_in_cells(console, 10, 10);
  output_lines(console, 30);
  console.append_output(std::string(25, 'y') + "\r\n");
  EXPECT_EQ(view.horizontal_range, 15);
  EXPECT_EQ(view.vertical_range, 23);  // 31 lines - 10 + 2
  // Seeing more rows shrinks the range and pulls the top back into it.
  console.resize(30 * 8 + 7, 20 * 16 + 15);
  EXPECT_EQ(console.visible_columns(), 30);
  EXPECT_EQ(console.visible_rows(), 20);
  EXPECT_EQ(view.vertical_range, 13);
  EXPECT_EQ(console.top(), 13);
  EXPECT_EQ(view.horizontal_range, 0);
  EXPECT_EQ(view.calls.back(), "all");
  // A larger font shows fewer cells.
  console.change_font(16, 32, 30 * 8, 20 * 16);
  EXPECT_EQ(console.visible_columns(), 15);
  EXPECT_EQ(console.visible_rows(), 10);
  EXPECT_EQ(view.vertical_range, 23);
  EXPECT_EQ(view.horizontal_range, 10);
}

TEST_F(ConsoleScroll, RepaintDrawsTheLinesOfTheInvalidBand) {
  size_in_cells(console, 80, 10);
  output_lines(console, 30);
  ASSERT_EQ(console.top(), 22);
  // The whole client area: one line above the top (for a partly covered row) to the end.
  LineRange all = console.repaint_lines(0, 160);
  EXPECT_EQ(all.first, 21);
  EXPECT_EQ(all.last, 29);
  console.on_key(Key::home);
  LineRange band = console.repaint_lines(32, 64);
  EXPECT_EQ(band.first, 1);
  EXPECT_EQ(band.last, 4);
  LineRange top_band = console.repaint_lines(0, 15);
  EXPECT_EQ(top_band.first, 0);
  EXPECT_EQ(top_band.last, 0);
  FakeView empty_view;
  ConsoleState empty(empty_view);
  size_in_cells(empty, 80, 10);
  LineRange none = empty.repaint_lines(0, 160);
  EXPECT_LT(none.last, none.first);
}

TEST_F(ConsoleScroll, TypingScrollsBackToTheBottomFirst) {
  size_in_cells(console, 80, 10);
  output_lines(console, 30);
  console.on_key(Key::home);
  type(console, "a");
  EXPECT_EQ(console.top(), 22);
  EXPECT_EQ(view.caret_y, 31 - 1 - 22);
}

}  // namespace
}  // namespace vozo
