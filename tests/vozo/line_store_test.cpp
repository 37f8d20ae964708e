// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/line_store.h"

#include <gtest/gtest.h>

#include <string>

namespace vozo {
namespace {

std::string text(const LineStore& store, int32_t k) {
  return std::string(store.line(k));
}

void put_line(LineStore& store, const std::string& s) {
  ASSERT_TRUE(store.open_line());
  for (size_t i = 0; i < s.size(); ++i) ASSERT_TRUE(store.store(static_cast<int32_t>(i), s[i]));
}

TEST(LineStore, FillingTheTextBufferStopsAtItsLastByte) {
  LineStore store;
  ASSERT_TRUE(store.open_line());
  int32_t stored = 0;
  while (store.store(stored, static_cast<char>('a' + stored % 26))) ++stored;
  EXPECT_EQ(stored, 262144);
  EXPECT_EQ(store.text_size(), 262144);
  EXPECT_FALSE(store.insert_blank(0));
  // Overwriting inside the full line still works; nothing else grows.
  EXPECT_TRUE(store.store(0, 'Z'));
  EXPECT_EQ(store.last_length(), 262144);
  EXPECT_EQ(text(store, 1).substr(0, 3), "Zbc");
  EXPECT_EQ(text(store, 1).back(), static_cast<char>('a' + 262143 % 26));
  // A new line may open (it is empty) but takes no character.
  ASSERT_TRUE(store.open_line());
  EXPECT_FALSE(store.store(0, 'x'));
  EXPECT_EQ(store.line_length(2), 0);
}

TEST(LineStore, FillingTheLineTableStopsAt32767Lines) {
  LineStore store;
  int32_t opened = 0;
  while (store.open_line()) {
    ++opened;
    ASSERT_LE(opened, 32767);
  }
  EXPECT_EQ(opened, 32767);
  EXPECT_EQ(store.line_count(), 32767);
  // The last line can still be written.
  EXPECT_TRUE(store.store(0, 'q'));
  EXPECT_EQ(text(store, 32767), "q");
  EXPECT_EQ(text(store, 32766), "");
}

TEST(LineStore, OnlyTheLastLineGrowsAndOnlyFromItsEnd) {
  LineStore store;
  EXPECT_FALSE(store.store(0, 'a'));  // no line yet
  EXPECT_FALSE(store.insert_blank(0));
  put_line(store, "abc");
  EXPECT_FALSE(store.store(4, 'x'));  // a gap would leave an unwritten byte
  ASSERT_TRUE(store.insert_blank(1));
  EXPECT_EQ(text(store, 1), "a bc");
  ASSERT_TRUE(store.insert_blank(4));
  EXPECT_EQ(text(store, 1), "a bc ");
  put_line(store, "de");
  EXPECT_EQ(text(store, 1), "a bc ");
  EXPECT_EQ(text(store, 2), "de");
  EXPECT_EQ(store.line(0), "");
  EXPECT_EQ(store.line(3), "");
}

TEST(LineStore, DeletionStaysInsideItsLine) {
  struct Case {
    int32_t line, column, count;
    int32_t deleted;
    const char* first;
    const char* second;
    const char* third;
  };
  const Case cases[] = {
      {2, 1, 2, 2, "abc", "dg", "hi"},     // middle of a middle line
      {2, 0, 4, 4, "abc", "", "hi"},       // a whole line
      {1, 2, 10, 1, "ab", "defg", "hi"},   // more than the line holds: cut at its end
      {1, 3, 1, 0, "abc", "defg", "hi"},   // at the end: nothing
      {3, 1, 1, 1, "abc", "defg", "h"},    // last line
      {4, 0, 1, 0, "abc", "defg", "hi"},   // no such line
      {2, -1, 1, 0, "abc", "defg", "hi"},  // no such column
      {2, 1, 0, 0, "abc", "defg", "hi"},   // nothing asked
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.line << "," << c.column << "," << c.count);
    LineStore store;
    put_line(store, "abc");
    put_line(store, "defg");
    put_line(store, "hi");
    EXPECT_EQ(store.delete_chars(c.line, c.column, c.count), c.deleted);
    EXPECT_EQ(text(store, 1), c.first);
    EXPECT_EQ(text(store, 2), c.second);
    EXPECT_EQ(text(store, 3), c.third);
    EXPECT_EQ(store.text_size(), 9 - c.deleted);
  }
}

TEST(LineStore, ClearForgetsLinesAndLongest) {
  LineStore store;
  put_line(store, "abcdef");
  store.note_length(6);
  store.note_length(3);
  EXPECT_EQ(store.longest(), 6);
  store.clear();
  EXPECT_EQ(store.line_count(), 0);
  EXPECT_EQ(store.longest(), 0);
  EXPECT_EQ(store.text_size(), 0);
  put_line(store, "x");
  EXPECT_EQ(text(store, 1), "x");
}

}  // namespace
}  // namespace vozo
