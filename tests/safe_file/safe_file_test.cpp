// SPDX-License-Identifier: GPL-3.0-or-later
// The writer: old or new content whole, never a part; what it refuses; what a failure
// leaves; the temporary's name.
#include "safe_file/safe_file.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <string>

#include "support/records.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;
using test_support::put;
using test_support::ScratchDir;

using test_support::slurp;

std::set<std::string> names(const ScratchDir& dir) {
  std::set<std::string> out;
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    out.insert(entry.path().filename().string());
  }
  return out;
}

mode_t mode_of(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 0777;
}

TEST(SafeFile, ReplacesByRenameSoAnObserverOfTheOldFileKeepsItWhole) {
  ScratchDir dir;
  const std::string target = dir.file("r.json");
  put(target, "old content");
  // A hard link sees the old file's bytes: written in place, it would see the new ones.
  ASSERT_EQ(::link(target.c_str(), dir.file("observer").c_str()), 0);
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  const safe_file::Outcome outcome = safe_file::write_file(target, "new content, longer");
  ASSERT_TRUE(outcome.ok()) << outcome.reason;
  EXPECT_EQ(slurp(target), "new content, longer");
  EXPECT_EQ(slurp(dir.file("observer")), "old content");
  // The replaced file's permission bits are kept.
  EXPECT_EQ(mode_of(target), 0640u);
  EXPECT_EQ(names(dir), (std::set<std::string>{"observer", "r.json"}));
}

TEST(SafeFile, ANewFileTakesTheUsualModeLessTheUmask) {
  ScratchDir dir;
  const mode_t before = ::umask(027);
  const safe_file::Outcome outcome = safe_file::write_file(dir.file("new.csv"), "a,b\n");
  ::umask(before);
  ASSERT_TRUE(outcome.ok()) << outcome.reason;
  EXPECT_EQ(mode_of(dir.file("new.csv")), 0640u);
  EXPECT_EQ(slurp(dir.file("new.csv")), "a,b\n");
}

struct RefusedCase {
  const char* what;
  std::function<std::string(const ScratchDir&)> make;  // gives the target
  const char* reason;
};

TEST(SafeFile, RefusesWhatIsNotAWritableRegularFileAndWritesNothing) {
  const RefusedCase cases[] = {
      {"link to a file",
       [](const ScratchDir& d) {
         put(d.file("real.json"), "kept");
         fs::create_symlink("real.json", d.file("t"));
         return d.file("t");
       },
       "is a symbolic link"},
      {"dangling link",
       [](const ScratchDir& d) {
         fs::create_symlink("nowhere.json", d.file("t"));
         return d.file("t");
       },
       "is a symbolic link"},
      {"FIFO",
       [](const ScratchDir& d) {
         EXPECT_EQ(::mkfifo(d.file("t").c_str(), 0666), 0);
         return d.file("t");
       },
       "is not a regular file"},
      {"device", [](const ScratchDir&) { return std::string("/dev/null"); },
       "is not a regular file"},
      {"folder",
       [](const ScratchDir& d) {
         fs::create_directory(d.file("t"));
         return d.file("t");
       },
       "is a folder"},
      {"folder by a closing slash", [](const ScratchDir& d) { return d.file("t/"); },
       "is a folder"},
      {"read-only file (refused for root too)",
       [](const ScratchDir& d) {
         put(d.file("t"), "kept");
         EXPECT_EQ(::chmod(d.file("t").c_str(), 0444), 0);
         return d.file("t");
       },
       "is read-only"},
      {"no folder", [](const ScratchDir& d) { return d.file("missing/t.json"); },
       "No such file or directory"},
      {"name too long", [](const ScratchDir& d) { return d.file(std::string(300, 'n')); },
       "File name too long"},
      {"no name", [](const ScratchDir&) { return std::string(); }, "no file name"},
  };
  for (const RefusedCase& c : cases) {
    ScratchDir dir;
    const std::string target = c.make(dir);
    const std::set<std::string> before = names(dir);
    const safe_file::Outcome outcome = safe_file::write_file(target, "new");
    EXPECT_EQ(outcome.stage, safe_file::Stage::refused) << c.what;
    EXPECT_NE(outcome.error, 0) << c.what;
    EXPECT_EQ(outcome.reason, c.reason) << c.what;
    EXPECT_EQ(safe_file::message("x", outcome), std::string("cannot write x: ") + c.reason);
    EXPECT_EQ(names(dir), before) << c.what;
    if (fs::exists(dir.file("real.json"))) {
      EXPECT_EQ(slurp(dir.file("real.json")), "kept");
    }
    if (fs::is_regular_file(dir.file("t"))) {
      EXPECT_EQ(slurp(dir.file("t")), "kept") << c.what;
    }
  }
}

TEST(SafeFile, AFailedWriteRemovesTheTemporaryAndKeepsTheOldFile) {
  ScratchDir dir;
  const std::string target = dir.file("big.png");
  put(target, "earlier");
  // The largest file the process may write is the size limit: past it a write fails
  // (EFBIG), as it would on a full disk, whoever runs the test.
  struct rlimit before {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &before), 0);
  struct rlimit small = before;
  small.rlim_cur = 4096;
  void (*previous)(int) = ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const safe_file::Outcome outcome = safe_file::write_file(target, std::string(100000, 'x'));
  ::setrlimit(RLIMIT_FSIZE, &before);
  ::signal(SIGXFSZ, previous);
  EXPECT_EQ(outcome.stage, safe_file::Stage::write);
  EXPECT_EQ(outcome.error, EFBIG);
  EXPECT_EQ(outcome.reason, std::strerror(EFBIG));
  EXPECT_EQ(slurp(target), "earlier");
  EXPECT_EQ(names(dir), std::set<std::string>{"big.png"});
}

TEST(SafeFile, AFolderThatCannotBeWrittenIsSaidAndLeftClean) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may create files in any folder";
  ScratchDir dir;
  fs::create_directory(dir.file("locked"));
  put(dir.file("locked/r.json"), "earlier");
  ASSERT_EQ(::chmod(dir.file("locked").c_str(), 0555), 0);
  const safe_file::Outcome outcome = safe_file::write_file(dir.file("locked/r.json"), "new");
  ::chmod(dir.file("locked").c_str(), 0755);
  EXPECT_EQ(outcome.stage, safe_file::Stage::create);
  EXPECT_EQ(outcome.error, EACCES);
  EXPECT_EQ(slurp(dir.file("locked/r.json")), "earlier");
}

TEST(SafeFile, ALongTargetNameIsWrittenAndItsTemporaryNameFits) {
  ScratchDir dir;
  const std::string longest(250, 'a');
  const safe_file::Outcome outcome = safe_file::write_file(dir.file(longest + ".json"), "{}");
  ASSERT_TRUE(outcome.ok()) << outcome.reason;
  EXPECT_EQ(names(dir), std::set<std::string>{longest + ".json"});
}

struct NameCase {
  std::string target;
  std::size_t limit;
  std::string expected;
};

TEST(SafeFile, TemporaryNamesAreRecognisableAndNeverPassTheLimit) {
  // "." + name + ".gemino-tmp-" + "XXXXXX": 19 bytes besides the name.
  const std::string e_acute = "\xc3\xa9";
  const NameCase cases[] = {
      {"r.json", 255, ".r.json.gemino-tmp-XXXXXX"},
      {std::string(236, 'a'), 255, "." + std::string(236, 'a') + ".gemino-tmp-XXXXXX"},
      {std::string(237, 'a'), 255, "." + std::string(236, 'a') + ".gemino-tmp-XXXXXX"},
      {std::string(400, 'a'), 255, "." + std::string(236, 'a') + ".gemino-tmp-XXXXXX"},
      {"abc", 21, ".ab.gemino-tmp-XXXXXX"},
      {"abc", 10, "..gemino-tmp-XXXXXX"},
      // A two-byte character across the cut is left out whole.
      {"a" + e_acute + "b", 21, ".a.gemino-tmp-XXXXXX"},
      {"a" + e_acute + "b", 22, ".a" + e_acute + ".gemino-tmp-XXXXXX"},
  };
  for (const NameCase& c : cases) {
    const std::string name = safe_file::temporary_name(c.target, "XXXXXX", c.limit);
    EXPECT_EQ(name, c.expected) << c.target.size() << " within " << c.limit;
    if (c.limit >= 19) {
      EXPECT_LE(name.size(), c.limit);
    }
  }
}

}  // namespace
