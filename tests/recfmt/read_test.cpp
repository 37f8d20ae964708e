// SPDX-License-Identifier: GPL-3.0-or-later
// Formatted and list-directed reads: from files (bytes exactly as given) and from the
// console.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "recfmt/units.h"
#include "support/fake_console.h"
#include "support/scratch_dir.h"

namespace recfmt {
namespace {

class Reads : public ::testing::Test {
 protected:
  void TearDown() override { close_all(); }
  // Connects unit 3 to a file holding exactly these bytes.
  void input(const std::string& bytes) {
    close(3);
    test_support::put(dir_ + "/in.txt", bytes);
    ASSERT_EQ(open(3, dir_ + "/in.txt", "old"), 0);
  }
  // The second and third lines of the run-time error report.
  std::string report_tail() const {
    const std::string& out = console_.output();
    const std::size_t first = out.find("\r\n");
    return first == std::string::npos ? out : out.substr(first + 2);
  }

  test_support::FakeConsole console_;
  test_support::ScratchDir scratch_{"recfmt-reads-"};
  const std::string dir_ = scratch_.path();
};

TEST_F(Reads, IntegerFields) {
  struct Case {
    const char* line;
    int32_t a, b;
  };
  const Case cases[] = {
      {"  1  2", 1, 2}, {" -1 +2", -1, 2}, {"1 2 3 ", 12, 3},   {"", 0, 0},    {"  -   +", 0, 0},
      {"1,2", 1, 2},    {",,", 0, 0},      {"12,345", 12, 345}, {"  7", 7, 0}, {"  7\r", 7, 0},
  };
  for (const Case& c : cases) {
    input(std::string(c.line) + "\n");
    int32_t a = -9, b = -9;
    read(3, Format("(2I3)"), {a, b});
    EXPECT_EQ(a, c.a) << c.line;
    EXPECT_EQ(b, c.b) << c.line;
  }
}

TEST_F(Reads, RealFields) {
  struct Case {
    const char* format;
    const char* line;
    float value;
  };
  const Case cases[] = {
      {"(F5.0)", "  1.5", 1.5f},
      {"(F5.2)", "12345", 123.45f},
      {"(F5.2)", " 1 5 ", 0.15f},
      {"(F6.0)", "1.5E2", 150.0f},
      {"(F6.0)", "1.5+2", 150.0f},
      {"(F6.0)", "1.5d-1", 0.15f},
      {"(F6.0)", " -.5", -0.5f},
      {"(F6.2)", "-", 0.0f},
      {"(F6.2)", "", 0.0f},
      {"(F9.4)", " 123.4567", 123.4567f},
      {"(F4.1)", "25e1", 25.0f},
      {"(E11.4)", " 0.1235E+04", 1235.0f},
      {"(F10.0)", "0.000125", 0.000125f},
  };
  for (const Case& c : cases) {
    input(std::string(c.line) + "\n");
    float v = -9.0f;
    read(3, Format(c.format), {v});
    EXPECT_EQ(v, c.value) << c.format << " " << c.line;
  }
}

TEST_F(Reads, BadCharactersFailOrEndTheRun) {
  const char* bad[] = {"12a", "1.5", "1-2", "99999999999", "2147483648", "+-1", "\x01"};
  for (const char* line : bad) {
    input(std::string(line) + "\n");
    int32_t a = 5, b = 6;
    EXPECT_FALSE(read_checked(3, Format("(I11,I2)"), {a, b})) << line;
    EXPECT_EQ(b, 6) << "items after the failure are skipped";
  }
  input("-2147483648\n");
  int32_t least = 0;
  EXPECT_TRUE(read_checked(3, Format("(I11)"), {least}));
  EXPECT_EQ(least, INT32_MIN);
  const char* bad_reals[] = {"1.2.3", "1.5E2x", "1e99", "abc", "1.5E+-2",
                             "0.5E",  "5E+",    ".5D",  "1.E-"};
  for (const char* line : bad_reals) {
    input(std::string(line) + "\n");
    float v = 0.0f;
    EXPECT_FALSE(read_checked(3, Format("(F10.0)"), {v})) << line;
  }

  input("  1x\n");
  int32_t v = 0;
  EXPECT_EQ(test_support::exit_code_of([&] { read(3, Format("(I4)"), {v}); }), 2);
  EXPECT_EQ(report_tail(), "? Illegal character in numeric input\r\n? READ(UNIT=3,...\r\n? File " +
                               dir_ + "/in.txt, line 1, column 1\r\n");
  // Numbers beyond the item's range say so.
  float r = 0.0f;
  const std::string overflow = "? Numeric overflow in input\r\n? READ(UNIT=3,...\r\n? File " +
                               dir_ + "/in.txt, line 1, column 3\r\n";
  console_.clear_output();
  input("2 99999999999\n");
  EXPECT_EQ(test_support::exit_code_of([&] { read_list(3, {v, v}); }), 2);
  EXPECT_EQ(report_tail(), overflow);
  console_.clear_output();
  input("2 3.5E38\n");
  EXPECT_EQ(test_support::exit_code_of([&] { read_list(3, {v, r}); }), 2);
  EXPECT_EQ(report_tail(), overflow);
}

TEST_F(Reads, CharacterFields) {
  input("abcdef\n\nab\tc\n");
  Text<5> narrow;
  Text<3> wide;
  read(3, Format("(A3)"), {narrow});
  EXPECT_EQ(narrow.view(), "abc  ");
  Text<80> empty("not blank");
  read(3, Format("(a)"), {empty});
  EXPECT_EQ(empty.view(), std::string(80, ' '));
  Text<10> tabbed;
  read(3, Format("(A)"), {tabbed});
  EXPECT_EQ(tabbed.view(), "ab      c ");
  input("abcdef\n");
  read(3, Format("(A5)"), {wide});
  EXPECT_EQ(wide.view(), "cde");
}

TEST_F(Reads, LinesRecordsAndPositions) {
  // Each statement starts a new line; the rest of a line is ignored.
  input("12\n34\n");
  int32_t a = 0, b = 0;
  read(3, Format("(I1)"), {a});
  read(3, Format("(I1)"), {b});
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 3);
  // Carriage returns go before tabs expand; a last line without LF is a record.
  input("a\r\tb\r\n\r\r\rx\tyz");
  Text<10> t1, t2, t3;
  read(3, Format("(A)"), {t1});
  read(3, Format("(A)"), {t2});
  EXPECT_EQ(t1.view(), "a       b ");
  EXPECT_EQ(t2.view(), "x       yz");
  EXPECT_FALSE(read_checked(3, Format("(A)"), {t3}));
  // X, T and TL on input, slash and reversion move to the next line.
  input("1234567\n89\n");
  int32_t x = 0, y = 0, z = 0;
  read(3, Format("(T3,I2,TL4,I1,/,I1)"), {x, y, z});
  EXPECT_EQ(x, 34);
  EXPECT_EQ(y, 1);
  EXPECT_EQ(z, 8);
  input("  1  2  3  4\n  5  6\n");
  int32_t v[6] = {};
  read(3, Format("(4(I3))"), {v[0], v[1], v[2], v[3], v[4], v[5]});
  EXPECT_EQ(v[4], 5);
  EXPECT_EQ(v[5], 6);
  // A line with fewer than 18 fields: the rest read as zero.
  input("  1  2  3\n");
  int32_t s[18];
  std::fill(std::begin(s), std::end(s), -1);
  const Format eighteen("(18(I3,1X))");
  Reader r(3, eighteen);
  for (int32_t& item : s) r >> item;
  EXPECT_TRUE(r.finish());
  EXPECT_EQ(s[1], 2);
  EXPECT_EQ(s[17], 0);
}

TEST_F(Reads, LogicalFields) {
  input("  T .F. t x\n");
  Logical a, b{1}, c, d;
  EXPECT_TRUE(read_checked(3, Format("(L3,L4,L2)"), {a, b, c}));
  EXPECT_EQ(a.value, 1);
  EXPECT_EQ(b.value, 0);
  EXPECT_EQ(c.value, 1);
  input("  T .F. t x\n");
  EXPECT_FALSE(read_checked(3, Format("(9X,L2)"), {d}));
  input("  T .F. t x\n");
  EXPECT_EQ(test_support::exit_code_of([&] { read(3, Format("(9X,L2)"), {d}); }), 2);
  EXPECT_EQ(report_tail(), "? Illegal character in logical input\r\n? READ(UNIT=3,...\r\n? File " +
                               dir_ + "/in.txt, line 1, column 10\r\n");
}

TEST_F(Reads, EndOfFile) {
  input("");
  int32_t v = 0;
  EXPECT_FALSE(read_checked(3, Format("(I3)"), {v}));
  EXPECT_EQ(test_support::exit_code_of([&] { read(3, Format("(I3)"), {v}); }), 2);
  EXPECT_EQ(report_tail(), "? Attempt to read past end of file\r\n? READ(UNIT=3,...\r\n? File " +
                               dir_ + "/in.txt: end of file after line 0\r\n");
  EXPECT_EQ(console_.end_calls(), 1);
  // A statement with no items still needs its line.
  input("1\n");
  EXPECT_TRUE(read_checked(3, Format("(A)")));
  EXPECT_FALSE(read_checked(3, Format("(A)")));
}

TEST_F(Reads, ConsoleEndOfInputEndsTheRunEvenWithErrorReturn) {
  console_.set_input("7\n");
  int32_t v = 0;
  EXPECT_TRUE(read_checked(5, Format("(I3)"), {v}));
  EXPECT_EQ(v, 7);
  EXPECT_EQ(test_support::exit_code_of([&] { (void)read_checked(5, Format("(I3)"), {v}); }), 2);
  EXPECT_EQ(report_tail(), "? Attempt to read past end of file\r\n? READ(UNIT=5,...\r\n");
  console_.clear_output();
  EXPECT_EQ(test_support::exit_code_of([&] { read_list(star, {v}); }), 2);
  EXPECT_EQ(report_tail(), "? Attempt to read past end of file\r\n? READ(UNIT=*,...\r\n");
}

TEST_F(Reads, HostileBytesNeverBreakTheReader) {
  std::string nul_line("ab\0cd", 5);
  input(std::string(200000, 'x') + "\n" + nul_line + "\n" + std::string(5000, '\t') + "\n\r\r");
  Text<4> t;
  read(3, Format("(A)"), {t});
  EXPECT_EQ(t.view(), "xxxx");
  read(3, Format("(A)"), {t});
  EXPECT_EQ(t.view(), std::string_view("ab\0c", 4));
  int32_t v = -1;
  read(3, Format("(T39990,I5)"), {v});
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(read_checked(3, Format("(A)"), {t}));
  EXPECT_EQ(t.view(), "    ");
  EXPECT_FALSE(read_checked(3, Format("(A)"), {t}));
  // Carriage returns only: one empty record, then the end.
  input("\r\r\r");
  EXPECT_TRUE(read_checked(3, Format("(A)"), {t}));
  EXPECT_EQ(t.view(), "    ");
  EXPECT_FALSE(read_checked(3, Format("(A)"), {t}));
  input(std::string("1\0", 2) + "\n");
  EXPECT_FALSE(read_checked(3, Format("(I3)"), {v}));
  // A long console line is read whole, and the next read starts on the following line.
  console_.set_input(std::string(1000, '9') + "\n5\n");
  Text<1000> longest;
  read(5, Format("(A)"), {longest});
  EXPECT_EQ(longest.view(), std::string(1000, '9'));
  read(5, Format("(I1)"), {v});
  EXPECT_EQ(v, 5);
  // A record beyond any sensible length ends the run.
  const std::string endless(std::size_t{5} << 20, '7');
  input("1\n" + endless);
  read(3, Format("(I1)"), {v});
  console_.clear_output();
  EXPECT_EQ(test_support::exit_code_of([&] { (void)read_checked(3, Format("(I1)"), {v}); }), 2);
  EXPECT_EQ(report_tail(), "? Input record too long\r\n? READ(UNIT=3,...\r\n? File " + dir_ +
                               "/in.txt, line 2, column 1\r\n");
}

TEST_F(Reads, ListDirected) {
  input("1 2, 3\n\n  4 99\n5\n");
  int32_t a = 0, b = 0, c = 0, d = 0, e = 0;
  read_list(3, {a, b, c, d});
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(d, 4);
  read_list(3, {e});  // the 99 was skipped with the rest of its line
  EXPECT_EQ(e, 5);

  input("3*7 2* ,, 4 / 8\n9\n");
  int32_t v[8] = {0, 0, 0, 0, 0, 0, 0, 0};
  read_list(3, {v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]});
  const int32_t expected[8] = {7, 7, 7, 0, 0, 0, 4, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(v[i], expected[i]) << i;

  input("1.5 -2 .5e1 'it''s' \"q\" T 2*2.5 2*'a b' 2* 'c'\n");
  float r1 = 0, r2 = 0, r3 = 0, r4 = 0, r5 = 0;
  Text<6> s1, s2, s3("x"), s4("x"), s5("x"), s6("x"), s7("x");
  Logical l;
  read_list(3, {r1, r2, r3, s1, s2, l, r4, r5, s3, s4, s5, s6, s7});
  EXPECT_EQ(s3.view(), "a b   ");
  EXPECT_EQ(s4.view(), "a b   ");
  EXPECT_EQ(s5.view(), "x     ");
  EXPECT_EQ(s6.view(), "x     ");
  EXPECT_EQ(s7.view(), "c     ");
  EXPECT_EQ(r1, 1.5f);
  EXPECT_EQ(r2, -2.0f);
  EXPECT_EQ(r3, 5.0f);
  EXPECT_EQ(s1.view(), "it's  ");
  EXPECT_EQ(s2.view(), "q     ");
  EXPECT_EQ(l.value, 1);
  EXPECT_EQ(r4, 2.5f);
  EXPECT_EQ(r5, 2.5f);

  // Leading comma: a null first value; commas around blanks are one separator.
  input(",5 , 6\n");
  a = b = c = -1;
  read_list(3, {a, b, c});
  EXPECT_EQ(a, -1);
  EXPECT_EQ(b, 5);
  EXPECT_EQ(c, 6);
}

TEST_F(Reads, ListDirectedFailures) {
  const char* bad[] = {"1.5", "1e3", "x", "'7'", "+", "3*x"};
  for (const char* line : bad) {
    input(std::string(line) + "\n");
    int32_t v = 0;
    ListReader r(3, OnError::Return);
    r >> v;
    EXPECT_FALSE(r.finish()) << line;
  }
  input("1 2\n");
  int32_t a = 0, b = 0, c = 0;
  EXPECT_EQ(test_support::exit_code_of([&] { read_list(3, {a, b, c}); }), 2);
  EXPECT_EQ(report_tail(), "? Attempt to read past end of file\r\n? READ(UNIT=3,...\r\n? File " +
                               dir_ + "/in.txt: end of file after line 1\r\n");
}

}  // namespace
}  // namespace recfmt
