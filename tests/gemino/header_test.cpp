// SPDX-License-Identifier: GPL-3.0-or-later
// The program header, and a whole start of run as the console shows it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "gemino/header.h"
#include "gral/clock.h"
#include "gral/hostname.h"
#include "gral/initsio.h"
#include "gral/initsio_report.h"
#include "gral/opef2.h"
#include "recfmt/units.h"
#include "support/fake_console.h"

namespace {

using test_support::FakeConsole;
using Lines = std::vector<std::string>;

gral::LocalTime fixed_clock() {
  return {2011, 3, 4, 14, 5, 9, 730};
}

const std::string at43 = " " + std::string(43, '@');
const std::string dashes = " @------------------------------------------";

Lines header_lines(const std::string& name, const std::string& version, const std::string& date) {
  return {
      at43,
      " @",
      " @       MAIN PROGRAM: " + name,
      " @            Version: " + version,
      " @               Date: " + date,
      " @",
      dashes,
      " @ Running on: 2011-03-04 at: 14:05:09",
      " @ On system: " + std::string(gral::system_description()),
      dashes,
      " @ Author     : Gemino maintainers",
      " @ Modified by: Gemino maintainers,",
      " @              Gemino maintainers,",
      " @              Gemino maintainers",
      " @ Contact    : Gemino maintainers",
      " @ Gemino maintainers                   ",
      " @ (institution)                        ",
      " @ (postal address)                     ",
      " @ (e-mail address)                     ",
      " @ (web address)                        ",
      " @ (web address, continued)             ",
      " @ Report of any problem is appreciated ",
      dashes,
      " @         HIT RETURN TO CONTINUE",
      at43,
  };
}

class Header : public ::testing::Test {
 protected:
  void SetUp() override {
    gral::set_time_source(fixed_clock);
    FakeConsole quiet;
    gral::initsio();
  }
  void TearDown() override {
    gral::set_time_source(nullptr);
    FakeConsole quiet;
    gral::initsio();
  }
};

TEST_F(Header, NameTrimmedVersionAndDateWhole) {
  FakeConsole console({"typed text is ignored", "next answer"});
  gemino::geminohead(recfmt::Text<10>("  Gem  "), recfmt::Text<10>(" 1.2"),
                     recfmt::Text<10>("2010-06-21"));
  EXPECT_EQ(console.lines(), header_lines("Gem", " 1.2      ", "2010-06-21"));
  EXPECT_EQ(console.replies_left(), 1u);  // the pause takes one line only
}

TEST_F(Header, PrintedWhateverTheVerbosity) {
  gral::Ciocom& c = gral::ciocom();
  for (recfmt::Logical& level : c.lwito) level.value = 0;
  FakeConsole console({""});
  gemino::geminohead(recfmt::Text<10>("Gemino"), recfmt::Text<10>(" 1.2"),
                     recfmt::Text<10>("2010-06-21"));
  EXPECT_EQ(console.lines().size(), 25u);
}

TEST_F(Header, EndOfConsoleInputAtThePauseEndsTheRun) {
  FakeConsole console;
  EXPECT_EQ(test_support::exit_code_of([] {
              gemino::geminohead(recfmt::Text<10>("Gemino"), recfmt::Text<10>(" 1.2"),
                                 recfmt::Text<10>("2010-06-21"));
            }),
            2);
}

// The console from the first line of a run to the third file opened: unit report, header,
// and the three questions with every kind of unusable answer on the way.
TEST_F(Header, WholeStartOfRun) {
  char pattern[] = "/tmp/headXXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string dir = pattern;
  const std::string params = dir + "/params.txt";
  const std::string data = dir + "/data.txt";
  const std::string report = dir + "/report.txt";
  const std::string missing = dir + "/missing.txt";
  std::ofstream(params) << "p\n";
  std::ofstream(data) << "d\n";
  auto pad30 = [](const std::string& s) { return s + std::string(30 - s.size(), ' '); };

  FakeConsole console({
      "any text",    // header pause
      "",            // PARAMETERS: keep "?"
      "",            //   pause
      missing,       // PARAMETERS: a file that does not exist
      "x",           //   pause
      "?",           // PARAMETERS: "?" typed
      "",            //   pause
      " " + params,  // PARAMETERS: leading blank, keeps "?"
      "",            //   pause
      params,        // PARAMETERS
      "",            // DATA: keep "?"
      "",            //   pause
      data,          // DATA
      report,        // OUTPUT
  });
  gral::initsio();
  gemino::geminohead(recfmt::Text<10>("Gemino    "), recfmt::Text<10>(" 1.2      "),
                     recfmt::Text<10>("2010-06-21"));
  std::string params_name = "?";
  std::string data_name = "?";
  std::string report_name = "?";
  gral::opef2(params_name, recfmt::Text<20>("PARAMETERS"), 3, recfmt::Text<7>("old"), 0);
  gral::opef2(data_name, recfmt::Text<20>("DATA"), 4, recfmt::Text<7>("old"), 0);
  gral::opef2(report_name, recfmt::Text<20>("OUTPUT"), 8, recfmt::Text<7>("unknown"), 0);
  EXPECT_EQ(console.replies_left(), 0u);

  const std::string rule = " ..........................................";
  const std::string slashes = " ///////////////////////////////////////////";
  const std::string use_default = " ichar =  32 => use default value";
  Lines expected = gral_test::initsio_default_report();
  const Lines header = header_lines("Gemino", " 1.2      ", "2010-06-21");
  expected.insert(expected.end(), header.begin(), header.end());
  auto attempt = [&](const std::string& role, const std::string& shown_default, bool default_taken,
                     const std::string& value, bool fails) {
    const Lines head = {at43,
                        " @ subroutine opef2      ",
                        " @==========================================",
                        " OPENING " + role + " FILE",
                        at43,
                        rule,
                        " Enter " + role + " file name",
                        " or return for default value",
                        " Default = " + shown_default};
    expected.insert(expected.end(), head.begin(), head.end());
    if (default_taken) expected.push_back(use_default);
    expected.push_back(" New value = " + pad30(value));
    expected.push_back(rule);
    if (!fails) return;
    const Lines warning = {slashes,
                           " ///        subroutine opef2             ///",
                           " ///               WARNING               ///",
                           slashes,
                           " COULD NOT OPEN FILE " + pad30(value),
                           " ===> RETRYING",
                           " ===> HIT RETURN TO CONTINUE",
                           slashes};
    expected.insert(expected.end(), warning.begin(), warning.end());
  };
  attempt("PARAMETERS", "?", true, "?", true);
  attempt("PARAMETERS", "?", false, missing, true);
  attempt("PARAMETERS", missing, false, "?", true);
  attempt("PARAMETERS", "?", true, "?", true);
  attempt("PARAMETERS", "?", false, params, false);
  attempt("DATA", "?", true, "?", true);
  attempt("DATA", "?", false, data, false);
  attempt("OUTPUT", "?", false, report, false);

  const Lines got = console.lines();
  for (std::size_t i = 0; i < std::max(got.size(), expected.size()); ++i) {
    ASSERT_EQ(i < got.size() ? got[i] : "<missing>", i < expected.size() ? expected[i] : "<extra>")
        << "line " << i + 1;
  }
  EXPECT_EQ(params_name, params);
  EXPECT_EQ(data_name, data);
  EXPECT_EQ(report_name, report);
  EXPECT_TRUE(std::filesystem::exists(report));
  for (int32_t unit : {3, 4, 8}) {
    EXPECT_TRUE(recfmt::is_connected(unit));
    recfmt::close(unit);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
