// SPDX-License-Identifier: GPL-3.0-or-later
// Opening files by name: the question, the retries, mode 1, and what the open does to files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "gral/initsio.h"
#include "gral/opef2.h"
#include "recfmt/format.h"
#include "recfmt/statements.h"
#include "recfmt/units.h"
#include "support/fake_console.h"
#include "support/records.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;
using test_support::FakeConsole;
using test_support::put;
using test_support::slurp;
using Lines = std::vector<std::string>;

const std::string at43 = " " + std::string(43, '@');
const std::string slashes43 = " " + std::string(43, '/');
const std::string stars43 = " " + std::string(43, '*');
const std::string rule = " ..........................................";

// A scratch folder with a short path, so that names fit the 30-character file name.
class Opef2 : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeConsole quiet;
    gral::initsio();
  }
  void TearDown() override { recfmt::close(iu); }
  std::string path(const std::string& name) const { return dir_ + "/" + name; }
  static std::string padded(const std::string& s, std::size_t n = 30) {
    return s + std::string(n - s.size(), ' ');
  }
  static Lines announcement(const std::string& role) {
    return {at43, " @ subroutine opef2      ",
            " @==========================================", " OPENING " + role + " FILE", at43};
  }
  static Lines question(const std::string& role, const std::string& shown_default) {
    return {rule, " Enter " + role + " file name", " or return for default value",
            " Default = " + shown_default};
  }
  static Lines warning(const std::string& name30) {
    return {slashes43,
            " ///        subroutine opef2             ///",
            " ///               WARNING               ///",
            slashes43,
            " COULD NOT OPEN FILE " + name30,
            " ===> RETRYING",
            " ===> HIT RETURN TO CONTINUE",
            slashes43};
  }
  static void append(Lines& to, const Lines& more) {
    to.insert(to.end(), more.begin(), more.end());
  }

  test_support::ScratchDir scratch_{"gral", "/tmp"};
  const std::string dir_ = scratch_.path();
  const int32_t iu = 31;
};

TEST_F(Opef2, InteractiveAsksAgainUntilTheFileOpens) {
  const std::string good = path("in.txt");
  put(good, "first record\r\n");
  const std::string missing = path("none.txt");
  FakeConsole console({"", "", missing, "", " " + good, "", good});
  std::string fnam = "?";
  gral::opef2(fnam, recfmt::Text<20>("PARAMETERS"), iu, recfmt::Text<7>("old"), 0);

  EXPECT_EQ(fnam, good);
  EXPECT_EQ(console.replies_left(), 0u);
  Lines expected;
  // Return keeps "?", which never opens.
  append(expected, announcement("PARAMETERS"));
  append(expected, question("PARAMETERS", "?"));
  append(expected, {" ichar =  32 => use default value", " New value = " + padded("?"), rule});
  append(expected, warning(padded("?")));
  // A file that does not exist.
  append(expected, announcement("PARAMETERS"));
  append(expected, question("PARAMETERS", "?"));
  append(expected, {" New value = " + padded(missing), rule});
  append(expected, warning(padded(missing)));
  // A leading blank keeps the previous name, whatever follows.
  append(expected, announcement("PARAMETERS"));
  append(expected, question("PARAMETERS", missing));
  append(expected, {" ichar =  32 => use default value", " New value = " + padded(missing), rule});
  append(expected, warning(padded(missing)));
  // The right name.
  append(expected, announcement("PARAMETERS"));
  append(expected, question("PARAMETERS", missing));
  append(expected, {" New value = " + padded(good), rule});
  EXPECT_EQ(console.lines(), expected);

  recfmt::Text<20> record;
  recfmt::read(iu, recfmt::Format("(a)"), {record});
  EXPECT_EQ(std::string(record.view()), "first record        ");
}

TEST_F(Opef2, NamesThatCanNeverBeOpened) {
  // Wildcard characters and blank names fail whatever the status, and create nothing. Asked
  // without a question, the same name is retried after each pause until the answers run out.
  for (const std::string& name : {path("a?b"), path("a*b"), std::string("   "), std::string()}) {
    for (const char* status : {"unknown", "OLD"}) {
      FakeConsole console({""});
      std::string fnam = name;
      const int32_t code = test_support::exit_code_of(
          [&] { gral::opef2(fnam, recfmt::Text<20>("OUTPUT"), iu, recfmt::Text<7>(status), 2); });
      EXPECT_EQ(code, 2) << name << ' ' << status;
      EXPECT_TRUE(fs::is_empty(dir_)) << name << ' ' << status;
      EXPECT_NE(console.output().find(" COULD NOT OPEN FILE " + padded(name) + "\r\n"),
                std::string::npos);
    }
  }
}

TEST_F(Opef2, UnknownCreatesOrOverwritesAndCutsAfterTheLastRecord) {
  const std::string existing = path("out.txt");
  put(existing, std::string(500, 'x') + "\r\nold tail\r\n");
  {
    FakeConsole console({existing});
    std::string fnam = "?";
    gral::opef2(fnam, recfmt::Text<20>("OUTPUT"), iu, recfmt::Text<7>("UNKNOWN"), 0);
    recfmt::write(iu, recfmt::Format("(1x,a)"), {"new"});
    recfmt::close(iu);
    EXPECT_EQ(slurp(existing), " new\r\n");
  }
  const std::string fresh = path("new.txt");
  {
    FakeConsole console({fresh});
    std::string fnam = "?";
    gral::opef2(fnam, recfmt::Text<20>("OUTPUT"), iu, recfmt::Text<7>("unknown"), 0);
    recfmt::write(iu, recfmt::Format("(a,i3)"), {"n=", 7});
    recfmt::close(iu);
    EXPECT_EQ(slurp(fresh), "n=  7\r\n");
  }
}

TEST_F(Opef2, LongNamesAreUsedAndShownWhole) {
  // A name longer than 30 characters that begins with an existing 30-character name:
  // once cut there, it overwrote that other file.
  const std::string name30 = path(std::string(30 - dir_.size() - 1, 'f'));
  ASSERT_EQ(name30.size(), 30u);
  put(name30, "keep");
  const std::string longer = name30 + "_v1_final_\xc3\xa9t\xc3\xa9.txt";
  FakeConsole console({longer});
  std::string fnam = "?";
  gral::opef2(fnam, recfmt::Text<20>("OUTPUT"), iu, recfmt::Text<7>("replace"), 0);
  EXPECT_EQ(fnam, longer);
  EXPECT_EQ(slurp(name30), "keep");
  EXPECT_TRUE(fs::exists(longer));
  EXPECT_EQ(console.lines().at(announcement("").size() + 4), " New value = " + longer);
}

TEST_F(Opef2, RefusesSpecialFilesAndAnOutputThatIsAnOpenInput) {
  const std::string input = path("params.txt");
  put(input, "p\r\n");
  fs::create_symlink(input, path("link.txt"));
  ASSERT_EQ(mkfifo(path("fifo").c_str(), 0600), 0);
  {
    FakeConsole console({input});
    std::string fnam = "?";
    gral::opef2(fnam, recfmt::Text<20>("PARAMETERS"), 3, recfmt::Text<7>("old"), 0);
  }
  // Each refused name is followed by the pause, then the question comes again.
  FakeConsole console({dir_ + "/./params.txt", "", path("link.txt"), "", path("fifo"), "",
                       "/dev/zero", "", dir_, "", path("out.txt")});
  std::string fnam = "?";
  gral::opef2(fnam, recfmt::Text<20>("OUTPUT"), iu, recfmt::Text<7>("replace"), 0);
  EXPECT_EQ(fnam, path("out.txt"));
  EXPECT_EQ(console.replies_left(), 0u);
  EXPECT_EQ(slurp(input), "p\r\n");
  const std::string out = console.output();
  std::size_t at = 0;
  for (const char* why :
       {"ALREADY OPEN AS THE PARAMETERS FILE", "ALREADY OPEN AS THE PARAMETERS FILE",
        "NOT A REGULAR FILE", "NOT A REGULAR FILE", "NOT A REGULAR FILE"}) {
    at = out.find(std::string(" ") + why + "\r\n ===> RETRYING", at);
    ASSERT_NE(at, std::string::npos) << why;
    ++at;
  }
  recfmt::close(3);
}

TEST_F(Opef2, ModeOneReportsOnceAndEndsTheRun) {
  const std::string missing = path("gone.txt");
  FakeConsole console({"", "spare reply"});
  std::string fnam = missing;
  const int32_t code = test_support::exit_code_of(
      [&] { gral::opef2(fnam, recfmt::Text<20>("DATA"), 4, recfmt::Text<7>("old"), 1); });
  EXPECT_EQ(code, gral::open_failure_exit_code);
  EXPECT_NE(code, 0);
  EXPECT_EQ(console.end_code(), gral::open_failure_exit_code);
  EXPECT_EQ(console.replies_left(), 1u);  // only the pause read a reply
  const std::string blank_row = " *** " + std::string(35, ' ') + " ***";
  Lines expected = announcement("DATA");
  append(expected, {stars43, stars43, blank_row, " ***        subroutine opef2             ***",
                    blank_row, " ***                ERROR                ***", blank_row, stars43,
                    stars43, " COULD NOT OPEN FILE " + padded(missing), " for unit =    4",
                    " ===> STOPPING EXECUTION", " ===> HIT RETURN TO CONTINUE", stars43});
  EXPECT_EQ(console.lines(), expected);
}

TEST_F(Opef2, OtherModesRetryTheSameNameWithoutAsking) {
  const std::string later = path("later.txt");
  FakeConsole console({"", ""});
  // The file appears while the user is at the pause.
  console.on_read([&] {
    if (!fs::exists(later)) put(later, "");
  });
  std::string fnam = later;
  gral::opef2(fnam, recfmt::Text<20>("DATA"), iu, recfmt::Text<7>("old"), 7);
  EXPECT_EQ(console.replies_left(), 1u);
  Lines expected = announcement("DATA");
  append(expected, warning(padded(later)));
  append(expected, announcement("DATA"));
  EXPECT_EQ(console.lines(), expected);
}

TEST_F(Opef2, FolderCountsAsFailedOpen) {
  const std::string folder = path("sub");
  fs::create_directory(folder);
  FakeConsole console({""});
  std::string fnam = folder;
  EXPECT_EQ(test_support::exit_code_of([&] {
              gral::opef2(fnam, recfmt::Text<20>("OUTPUT"), iu, recfmt::Text<7>("unknown"), 2);
            }),
            2);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_NE(console.output().find(" COULD NOT OPEN FILE " + padded(folder)), std::string::npos);
}

TEST_F(Opef2, ReadOnlyFileCountsAsFailedOpen) {
  if (geteuid() == 0) GTEST_SKIP() << "the superuser may write any file";
  const std::string locked = path("locked.txt");
  put(locked, "keep\r\n");
  fs::permissions(locked, fs::perms::owner_read, fs::perm_options::replace);
  FakeConsole console({locked, ""});
  std::string fnam = "?";
  EXPECT_EQ(test_support::exit_code_of([&] {
              gral::opef2(fnam, recfmt::Text<20>("OUTPUT"), iu, recfmt::Text<7>("unknown"), 0);
            }),
            2);
  EXPECT_EQ(slurp(locked), "keep\r\n");
}

}  // namespace
