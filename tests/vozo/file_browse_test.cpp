// SPDX-License-Identifier: GPL-3.0-or-later
// Browse: when it can be chosen, which dialog it opens, and the answer typed for the
// chosen file.
#include "vozo/file_browse.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "scripted_dialogs.h"

namespace vozo {
namespace {

TEST(Browse, AvailableOnlyWhileAFileQuestionWaitsForItsAnswer) {
  EXPECT_TRUE(browse_available(FileQuestion::open_file, true));
  EXPECT_TRUE(browse_available(FileQuestion::save_file, true));
  EXPECT_FALSE(browse_available(FileQuestion::open_file, false));
  EXPECT_FALSE(browse_available(FileQuestion::none, true));
}

TEST(Browse, AnswerIsRelativeToTheWorkingFolderWhenInsideIt) {
  struct Case {
    const char* chosen;
    const char* folder;
    const char* answer;  // nullptr: nothing typed
  };
  const Case cases[] = {
      {"/w/a/params.txt", "/w/a", "params.txt"},
      {"/w/a/sub/data.txt", "/w/a/", "sub/data.txt"},
      {"/w/a/d\xc3\xa9j\xc3\xa0.txt", "/w/a", "d\xc3\xa9j\xc3\xa0.txt"},
      {"/w/ab/x.txt", "/w/a", "/w/ab/x.txt"},  // a longer name, not a subfolder
      {"/w/b/x.txt", "/w/a", "/w/b/x.txt"},
      {"/w/a/../b/x.txt", "/w/a", "/w/b/x.txt"},
      {"/w/a/x.txt", "/", "w/a/x.txt"},
      {"rel.txt", "/w/a", "rel.txt"},
      {"/w/a/x.txt", "", "/w/a/x.txt"},
      {"/w/a/two\nlines.txt", "/w/a", nullptr},
      {"", "/w/a", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    const std::optional<std::string> answer = browse_answer(c.chosen, c.folder);
    ASSERT_EQ(answer.has_value(), c.answer != nullptr);
    if (answer) {
      EXPECT_EQ(*answer, c.answer);
    }
  }
}

TEST(Browse, AFolderReachedThroughALinkCountsAsTheWorkingFolder) {
  testing::TempDir dir;
  const std::filesystem::path real = dir.path() / "real";
  std::filesystem::create_directory(real);
  std::filesystem::create_directory_symlink(real, dir.path() / "link");
  EXPECT_EQ(browse_answer((dir.path() / "link" / "new.txt").string(), real.string()), "new.txt");
  EXPECT_EQ(browse_answer((real / "new.txt").string(), (dir.path() / "link").string()), "new.txt");
}

TEST(Browse, OpensTheDialogTheQuestionCallsFor) {
  testing::ScriptedDialogs dialogs;
  EXPECT_FALSE(run_browse(FileQuestion::none, "/w", dialogs));
  EXPECT_TRUE(dialogs.browses.empty());

  EXPECT_FALSE(run_browse(FileQuestion::open_file, "/w", dialogs));  // cancelled
  dialogs.chosen_path = "/w/report.txt";
  EXPECT_EQ(run_browse(FileQuestion::save_file, "/w", dialogs), "report.txt");
  ASSERT_EQ(dialogs.browses.size(), 2u);
  EXPECT_FALSE(dialogs.browses[0].save);
  EXPECT_TRUE(dialogs.browses[1].save);
  EXPECT_EQ(dialogs.browses[1].directory, "/w");

  dialogs.chosen_path = "/w/a\rb";
  EXPECT_FALSE(run_browse(FileQuestion::open_file, "/w", dialogs));
  EXPECT_EQ(dialogs.warnings.size(), 1u);
}

}  // namespace
}  // namespace vozo
