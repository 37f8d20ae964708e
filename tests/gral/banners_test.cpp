// SPDX-License-Identifier: GPL-3.0-or-later
// The unit report of initsio and the routine, error and warning banners, line by line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gral/banners.h"
#include "gral/initsio.h"
#include "gral/initsio_report.h"
#include "support/fake_console.h"

namespace {

using test_support::FakeConsole;
using Lines = std::vector<std::string>;

const std::string at43(43, '@');
const std::string stars43(43, '*');
const std::string slashes43(43, '/');

// Defaults of the shared block without the report.
void set_defaults() {
  FakeConsole quiet;
  gral::initsio();
}

TEST(Initsio, SetsDefaultsAndReportsThemInsideItsBanner) {
  gral::Ciocom& c = gral::ciocom();
  c = gral::Ciocom{7, 8, 9, 10, {1}, {1}, {0}, {{0}, {0}, {1}}};
  FakeConsole console;
  gral::initsio();

  EXPECT_EQ(c.iti, 5);
  EXPECT_EQ(c.ito, 6);
  EXPECT_EQ(c.itier, 5);
  EXPECT_EQ(c.itoer, 6);
  EXPECT_EQ(c.lop.value, 0);
  EXPECT_EQ(c.locom.value, 0);
  EXPECT_EQ(c.lcrerr.value, 1);
  EXPECT_EQ(c.lwito[0].value, 1);
  EXPECT_EQ(c.lwito[1].value, 1);
  EXPECT_EQ(c.lwito[2].value, 0);

  EXPECT_EQ(console.lines(), gral_test::initsio_default_report());
  EXPECT_EQ(console.output().substr(0, 46), " " + at43 + "\r\n");
}

TEST(RoutineBanner, ShowsTheWholeNameFieldAndIgnoresVersionAndDate) {
  set_defaults();
  FakeConsole console;
  gral::submenuhead("opef2      ", "4.3", "16-06-2010");
  gral::menutail();
  const Lines expected = {" " + at43, " @ subroutine opef2      ",
                          " @==========================================", " " + at43};
  EXPECT_EQ(console.lines(), expected);
}

TEST(ErrorBanner, FullBlockWithPause) {
  set_defaults();
  FakeConsole console({"anything at all"});
  gral::errorhead("inchardef  ", "1.4", "08-03-2000");
  gral::errortail00();
  const std::string blank_row = " *** " + std::string(35, ' ') + " ***";
  const Lines expected = {
      " " + stars43, " " + stars43,
      blank_row,     " ***        subroutine inchardef         ***",
      blank_row,     " ***                ERROR                ***",
      blank_row,     " " + stars43,
      " " + stars43, " ===> HIT RETURN TO CONTINUE",
      " " + stars43,
  };
  EXPECT_EQ(console.lines(), expected);
  EXPECT_EQ(console.replies_left(), 0u);
  for (const std::string& line : console.lines()) {
    if (line[1] == '=') continue;  // the pause prompt
    EXPECT_EQ(line.size(), 44u) << line;
  }
}

TEST(ErrorBanner, LongNameIsCutToTheField) {
  set_defaults();
  FakeConsole console;
  gral::errorhead("a_routine_name_of_27_letters", "1", "01-01-2000");
  gral::warninghead("a_routine_name_of_27_letters", "1", "01-01-2000");
  const Lines lines = console.lines();
  ASSERT_EQ(lines.size(), 13u);
  // 18 characters of "subroutine" lead-in leave 17 for the name.
  EXPECT_EQ(lines[3], " ***        subroutine a_routine_name_of ***");
  EXPECT_EQ(lines[10], " ///        subroutine a_routine_name_of ///");
}

TEST(WarningBanner, FullBlockWithPause) {
  set_defaults();
  FakeConsole console({""});
  gral::warninghead("opef2      ", "4.3", "16-06-2010");
  gral::warningtail00();
  const Lines expected = {
      " " + slashes43,
      " ///        subroutine opef2             ///",
      " ///               WARNING               ///",
      " " + slashes43,
      " ===> HIT RETURN TO CONTINUE",
      " " + slashes43,
  };
  EXPECT_EQ(console.lines(), expected);
  EXPECT_EQ(console.replies_left(), 0u);
}

// How the tails behave for each setting of the pause and command-file switches.
TEST(BannerTails, PauseFollowsTheSharedSwitches) {
  struct Case {
    int32_t lcrerr;
    int32_t locom;
    void (*tail)();
    Lines expected;
    std::size_t replies_used;
  };
  const Case cases[] = {
      {0, 0, gral::errortail00, {" " + stars43}, 0},
      {0, 1, gral::warningtail00, {" " + slashes43}, 0},
      {1, 1, gral::errortail00, {" ===> HIT RETURN TO RESUME COMMANDS", " " + stars43}, 1},
      {1, 1, gral::warningtail00, {" ===> HIT RETURN TO RESUME COMMANDS", " " + slashes43}, 1},
      {1, 0, gral::warningtail00, {" ===> HIT RETURN TO CONTINUE", " " + slashes43}, 1},
  };
  for (const Case& k : cases) {
    set_defaults();
    gral::ciocom().lcrerr.value = k.lcrerr;
    gral::ciocom().locom.value = k.locom;
    FakeConsole console({"first", "second"});
    k.tail();
    EXPECT_EQ(console.lines(), k.expected) << "lcrerr " << k.lcrerr << " locom " << k.locom;
    EXPECT_EQ(2u - console.replies_left(), k.replies_used);
  }
  set_defaults();
}

TEST(BannerTails, EndOfConsoleInputAtThePauseEndsTheRun) {
  set_defaults();
  FakeConsole console;
  EXPECT_EQ(test_support::exit_code_of([] { gral::errortail00(); }), 2);
}

}  // namespace
