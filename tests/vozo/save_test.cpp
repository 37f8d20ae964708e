// SPDX-License-Identifier: GPL-3.0-or-later
// The saved text's bytes, the safe save, and the Save, Save As and close questions.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_view.h"
#include "scripted_dialogs.h"
#include "vozo/console_document.h"
#include "vozo/console_state.h"
#include "vozo/save_commands.h"
#include "vozo/text_file.h"

namespace vozo {
namespace {

namespace fs = std::filesystem;
using testing::FakeView;
using testing::read_file;
using testing::ScriptedDialogs;
using testing::TempDir;
using testing::type;

TEST(TextFile, LinesEndInCarriageReturnLineFeedAndThePendingLineIsNotWritten) {
  FakeView view;
  ConsoleState console(view);
  EXPECT_EQ(text_file_bytes(console.store()), "");
  type(console, "a\r\rb\r");
  EXPECT_EQ(text_file_bytes(console.store()), "a\r\n\r\nb\r\n");
  console.append_output("tab\there\nand\r\n");
  EXPECT_EQ(text_file_bytes(console.store()), "a\r\n\r\nb\r\ntab     here and\r\n");
}

TEST(TextFile, SaveReplacesTheTargetOnlyWhenComplete) {
  TempDir dir;
  const fs::path target = dir.path() / "out.txt";
  ASSERT_EQ(save_file_bytes(target.string(), "first\r\n"), SaveResult::ok);
  EXPECT_EQ(read_file(target), "first\r\n");
  ASSERT_EQ(save_file_bytes(target.string(), "second\r\n"), SaveResult::ok);
  EXPECT_EQ(read_file(target), "second\r\n");
  EXPECT_EQ(dir.names(), std::vector<std::string>{"out.txt"});
}

TEST(TextFile, FailedSavesLeaveEarlierFilesAndNoLitter) {
  TempDir dir;
  // No such directory: nothing can be created.
  EXPECT_EQ(save_file_bytes((dir.path() / "missing" / "x.txt").string(), "x"),
            SaveResult::cannot_create);
  EXPECT_EQ(save_file_bytes("", "x"), SaveResult::cannot_create);
  // The target is a directory: refused before anything is written.
  fs::create_directory(dir.path() / "taken");
  fs::create_directory(dir.path() / "taken" / "inner");
  EXPECT_EQ(save_file_bytes((dir.path() / "taken").string(), "x"), SaveResult::cannot_create);
  EXPECT_EQ(errno, EISDIR);
  EXPECT_TRUE(fs::is_directory(dir.path() / "taken" / "inner"));
  EXPECT_EQ(dir.names(), std::vector<std::string>{"taken"});
}

class SaveCommands : public ::testing::Test {
 protected:
  SaveCommands() { console.append_output("R1\r\n"); }
  TempDir dir;
  FakeView view;
  ConsoleState console{view};
  ConsoleDocument document{console};
  ScriptedDialogs dialogs;
  SaveDirectory directory;
};

TEST_F(SaveCommands, FirstSaveAsksThenTheWindowTakesTheFileName) {
  dialogs.chosen_path = (dir.path() / "run.txt").string();
  EXPECT_TRUE(command_save(document, dialogs, directory));
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].default_title, "Untitled");
  EXPECT_EQ(dialogs.requests[0].default_path, "Untitled");
  EXPECT_EQ(read_file(dir.path() / "run.txt"), "R1\r\n");
  EXPECT_EQ(document.title(), "run.txt");
  EXPECT_FALSE(document.modified());
  // A named window saves without a dialog.
  console.append_output("R2\r\n");
  EXPECT_TRUE(command_save(document, dialogs, directory));
  EXPECT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(read_file(dir.path() / "run.txt"), "R1\r\nR2\r\n");
  // The next dialog starts in the same directory, with the window's name.
  dialogs.chosen_path.clear();
  EXPECT_FALSE(command_save_as(document, dialogs, directory));
  EXPECT_EQ(dialogs.requests[1].default_path, (dir.path() / "run.txt").string());
}

TEST_F(SaveCommands, CancelledSaveAsChangesNothing) {
  EXPECT_FALSE(command_save_as(document, dialogs, directory));
  EXPECT_TRUE(document.modified());
  EXPECT_FALSE(document.named());
  EXPECT_EQ(document.title(), "Input/Output");
  EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(SaveCommands, FailedSaveWarnsAndKeepsTheTextModified) {
  dialogs.chosen_path = (dir.path() / "missing" / "run.txt").string();
  EXPECT_FALSE(command_save(document, dialogs, directory));
  // The message names the file and the system's reason.
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"Cannot create file " + dialogs.chosen_path +
                                                       ": No such file or directory"});
  EXPECT_TRUE(document.modified());
  // The window does not take the name of a file that was never written: the next
  // Save asks again and then takes the new file.
  EXPECT_FALSE(document.named());
  EXPECT_EQ(document.title(), "Input/Output");
  dialogs.chosen_path = (dir.path() / "run.txt").string();
  EXPECT_TRUE(command_save(document, dialogs, directory));
  EXPECT_EQ(dialogs.requests.size(), 2u);
  EXPECT_EQ(document.title(), "run.txt");
  EXPECT_EQ(read_file(dir.path() / "run.txt"), "R1\r\n");
  // Save As to a file that fails keeps the file the window already had.
  console.append_output("R2\r\n");
  dialogs.chosen_path = (dir.path() / "missing" / "other.txt").string();
  EXPECT_FALSE(command_save_as(document, dialogs, directory));
  EXPECT_EQ(document.title(), "run.txt");
  EXPECT_EQ(document.file_name(), (dir.path() / "run.txt").string());
}

TEST_F(SaveCommands, ClosePromptAsksOnlyWhenModified) {
  for (const testing::ClosePromptCase& c : testing::close_prompt_cases) {
    SCOPED_TRACE(static_cast<int>(c.answer) * 10 + c.dialog_confirms);
    TempDir d;
    FakeView v;
    ConsoleState con(v);
    ConsoleDocument doc(con);
    con.append_output("R1\r\n");
    ScriptedDialogs dlg;
    SaveDirectory dir_state;
    dlg.answer = c.answer;
    if (c.dialog_confirms) dlg.chosen_path = (d.path() / "t.txt").string();
    EXPECT_EQ(close_prompt(doc, dlg, dir_state), c.decision);
    EXPECT_EQ(dlg.questions, std::vector<std::string>{"Save changes to Input/Output?"});
    EXPECT_EQ(fs::exists(d.path() / "t.txt"), c.written);
  }
}

TEST_F(SaveCommands, SavedWindowClosesWithoutAskingUntilItChangesAgain) {
  dialogs.chosen_path = (dir.path() / "run.txt").string();
  ASSERT_TRUE(command_save(document, dialogs, directory));
  EXPECT_EQ(close_prompt(document, dialogs, directory), CloseDecision::close);
  EXPECT_TRUE(dialogs.questions.empty());
  console.append_output("more\r\n");
  dialogs.answer = Answer::cancel;
  EXPECT_EQ(close_prompt(document, dialogs, directory), CloseDecision::keep);
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"Save changes to run.txt?"});
  // Yes on a named window writes to its file without a dialog.
  dialogs.answer = Answer::yes;
  EXPECT_EQ(close_prompt(document, dialogs, directory), CloseDecision::close);
  EXPECT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(read_file(dir.path() / "run.txt"), "R1\r\nmore\r\n");
}

TEST(SaveDirectoryTest, DirectoryPartOfTheLastPath) {
  SaveDirectory directory;
  EXPECT_EQ(directory.default_path("Untitled"), "Untitled");
  directory.remember("/home/geo/runs/a.txt");
  EXPECT_EQ(directory.directory(), "/home/geo/runs/");
  EXPECT_EQ(directory.default_path("b.txt"), "/home/geo/runs/b.txt");
  directory.remember("plain.txt");
  EXPECT_EQ(directory.directory(), "");
}

}  // namespace
}  // namespace vozo
