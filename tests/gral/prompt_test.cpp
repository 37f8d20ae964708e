// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the non-blank part of a text, and the question with a default.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include <string>
#include <vector>

#include "gral/inchardef.h"
#include "gral/initsio.h"
#include "gral/textlen.h"
#include "recfmt/items.h"
#include "recfmt/units.h"
#include "support/fake_console.h"

namespace {

using test_support::FakeConsole;
using Lines = std::vector<std::string>;

const std::string rule = " ..........................................";

void set_defaults() {
  FakeConsole quiet;
  gral::initsio();
}

TEST(Textlen, FindsTheNonBlankPart) {
  struct Case {
    std::string text;
    int32_t i1, i2;
    std::string part;
  };
  const Case cases[] = {
      {"  ab  ", 3, 4, "ab"}, {std::string(20, ' '), 20, 20, " "},
      {"abc", 1, 3, "abc"},   {"", 1, 0, ""},
      {"x", 1, 1, "x"},       {"   z", 4, 4, "z"},
      {"a b  ", 1, 3, "a b"}, {"\tq\t", 1, 3, "\tq\t"},  // only the blank is blank
  };
  for (const Case& k : cases) {
    int32_t i1 = -7, i2 = -7;
    gral::textlen(i1, i2, k.text);
    EXPECT_EQ(i1, k.i1) << '"' << k.text << '"';
    EXPECT_EQ(i2, k.i2) << '"' << k.text << '"';
    EXPECT_EQ(gral::nonblank(k.text), k.part) << '"' << k.text << '"';
  }
}

TEST(Inchardef, ReplyOrDefault) {
  struct Case {
    std::string reply;
    Lines after_question;  // what follows the four question lines
    std::string value;
  };
  const Case cases[] = {
      {"", {" ichar =  32 => use default value", " New value = old.txt   ", rule}, "old.txt   "},
      {"    ",
       {" ichar =  32 => use default value", " New value = old.txt   ", rule},
       "old.txt   "},
      {" new.txt",
       {" ichar =  32 => use default value", " New value = old.txt   ", rule},
       "old.txt   "},
      {"new.txt", {" New value = new.txt   ", rule}, "new.txt   "},
      {"new.txt  x", {" New value = new.txt  x", rule}, "new.txt  x"},
      {"much_longer_than_ten", {" New value = much_longe", rule}, "much_longe"},
      {"?", {" New value = ?         ", rule}, "?         "},
  };
  for (const Case& k : cases) {
    set_defaults();
    FakeConsole console({k.reply});
    recfmt::Text<10> v("unchanged");
    int32_t ierr = 99;
    gral::inchardef(v.span(), "  DATA file name   ", "old.txt", ierr);
    Lines expected = {rule, " Enter DATA file name", " or return for default value",
                      " Default = old.txt"};
    expected.insert(expected.end(), k.after_question.begin(), k.after_question.end());
    EXPECT_EQ(console.lines(), expected) << "reply \"" << k.reply << '"';
    EXPECT_EQ(std::string(v.view()), k.value);
    EXPECT_EQ(ierr, 0);
  }
}

TEST(Inchardef, DefaultMayBeTheVariableItself) {
  set_defaults();
  FakeConsole console({""});
  recfmt::Text<30> name("  params.txt");
  int32_t ierr = 1;
  gral::inchardef(name.span(), "PARAMETERS file name", name.view(), ierr);
  EXPECT_EQ(std::string(name.view()), "  params.txt" + std::string(18, ' '));
  const Lines lines = console.lines();
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[3], " Default = params.txt");
  EXPECT_EQ(lines[5], " New value =   params.txt" + std::string(18, ' '));
}

TEST(Inchardef, ReplyBufferHoldsEightyCharacters) {
  set_defaults();
  std::string reply;
  for (int32_t i = 0; i < 100; ++i) reply += static_cast<char>('0' + i % 10);
  FakeConsole console({reply});
  recfmt::Text<90> v;
  int32_t ierr = 0;
  gral::inchardef(v.span(), "X", "d", ierr);
  EXPECT_EQ(std::string(v.view()), reply.substr(0, 80) + std::string(10, ' '));
  EXPECT_EQ(console.lines().at(4), " New value = " + reply.substr(0, 80) + std::string(10, ' '));
}

TEST(Inchardef, WithoutMoreOutputOnlyTheEssentialLines) {
  set_defaults();
  gral::ciocom().lwito[1].value = 0;
  {
    FakeConsole console({""});
    recfmt::Text<5> v;
    int32_t ierr = 0;
    gral::inchardef(v.span(), "OUTPUT file name", "abc", ierr);
    const Lines expected = {" Enter OUTPUT file name", " ichar =  32 => use default value",
                            " New value = abc  "};
    EXPECT_EQ(console.lines(), expected);
  }
  {
    FakeConsole console({"xyz"});
    recfmt::Text<5> v;
    int32_t ierr = 0;
    gral::inchardef(v.span(), "OUTPUT file name", "abc", ierr);
    const Lines expected = {" Enter OUTPUT file name", " New value = xyz  "};
    EXPECT_EQ(console.lines(), expected);
  }
  set_defaults();
}

TEST(Inchardef, FailedReadIsReportedAndTheQuestionAskedAgain) {
  set_defaults();
  // Replies taken from a file that is already used up: every read fails.
  char name[] = "/tmp/gralreplyXXXXXX";
  const int fd = mkstemp(name);
  ASSERT_GE(fd, 0);
  close(fd);
  ASSERT_EQ(recfmt::open(32, name, "old"), 0);
  gral::ciocom().iti = 32;
  FakeConsole console({""});  // one Return for the first pause, then no more input
  recfmt::Text<5> v("keep");
  int32_t ierr = 5;
  EXPECT_EQ(test_support::exit_code_of([&] { gral::inchardef(v.span(), "X name", "d", ierr); }), 2);
  const Lines got = console.lines();
  recfmt::close(32);
  std::remove(name);
  gral::ciocom().iti = 5;

  const std::string stars = std::string(" ").append(43, '*');
  const std::string blank_row = std::string(" *** ").append(35, ' ') + " ***";
  const Lines attempt = {rule,
                         " Enter X name",
                         " or return for default value",
                         " Default = d",
                         stars,
                         stars,
                         blank_row,
                         " ***        subroutine inchardef         ***",
                         blank_row,
                         " ***                ERROR                ***",
                         blank_row,
                         stars,
                         stars,
                         " could not read X name",
                         " ==> RETRYING",
                         " ===> HIT RETURN TO CONTINUE"};
  Lines expected = attempt;
  expected.push_back(stars);
  expected.insert(expected.end(), attempt.begin(), attempt.end());
  // ... and the run-time error report of the pause that met the end of the console input.
  ASSERT_EQ(got.size(), expected.size() + 3);
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(got[i], expected[i]) << i + 1;
  EXPECT_EQ(got.back(), "? READ(UNIT=5,...");
  EXPECT_EQ(std::string(v.view()), "keep ");
  EXPECT_EQ(ierr, 0);
}

TEST(Inchardef, EndOfConsoleInputEndsTheRun) {
  set_defaults();
  FakeConsole console;
  recfmt::Text<5> v;
  int32_t ierr = 0;
  EXPECT_EQ(test_support::exit_code_of([&] { gral::inchardef(v.span(), "X", "d", ierr); }), 2);
}

}  // namespace
