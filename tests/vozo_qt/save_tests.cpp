// SPDX-License-Identifier: GPL-3.0-or-later
// Save and Save As from the frame's menu on the "Input/Output" console, and the save
// prompts of Exit.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QTest>
#include <filesystem>

#include "harness.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/application.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

using harness::console;
using harness::frame;

namespace {

struct Observed {
  std::string bytes;
  QString title;
  bool save_enabled = true;
  bool modified = true;
  std::size_t dialogs_shown = 0;
  std::size_t asked_before_exit = 0;
};

bool computation_ended() {
  return vozo_qt::env().end.ended();
}

// A letter, an empty line stored by Return on a pending line, another letter.
void three_lines() {
  harness::write("A\r\n");
  harness::read_line();
  harness::write("B\r\n");
}

TEST(Save, WritesEachLineWithCrLfAndRenamesTheWindow) {
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  const std::string dir = harness::temp_dir();
  const std::string path = dir + "/transcript.txt";
  Observed o;
  script.on_read([] { harness::type(console(), "\r"); });
  script.when(computation_ended, [&] {
    dialogs.save_paths.push_back(path);
    frame()->command(vozo::IDM_SAVE);
    o.bytes = harness::read_file(path);
    o.title = frame()->children().first()->windowTitle();
    o.save_enabled = frame()->item_enabled(vozo::IDM_SAVE);
    o.modified = console()->document().modified();
    // Exit right after saving closes without a prompt.
    frame()->command(vozo::IDM_EXIT);
  });
  EXPECT_EQ(vozo_qt::run_windowed(three_lines), 0);
  EXPECT_EQ(o.bytes, std::string("A\r\n\r\nB\r\n"));
  EXPECT_EQ(o.title, QStringLiteral("transcript.txt"));
  EXPECT_FALSE(o.save_enabled);
  EXPECT_FALSE(o.modified);
  ASSERT_EQ(dialogs.save_requests.size(), 1u);
  EXPECT_EQ(dialogs.save_requests[0].default_title, "Untitled");
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST(Save, NamedWindowSavesWithoutDialogAndPromptsAfterNewText) {
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  const std::string dir = harness::temp_dir();
  const std::string path = dir + "/t.txt";
  Observed o;
  script.when([] { return console() != nullptr; },
              [&] {
                dialogs.save_paths.push_back(path);
                frame()->command(vozo::IDM_SAVEAS);
              });
  script.on_read([&] {
    // Text typed since the save: Save is enabled again and Exit asks.
    harness::type(console(), "xy");
    // Save's state follows the modified flag when the console is next painted.
    QTest::qWait(50);
    o.save_enabled = frame()->item_enabled(vozo::IDM_SAVE);
    dialogs.answers.push_back(vozo::Answer::cancel);
    frame()->command(vozo::IDM_EXIT);
    o.asked_before_exit = dialogs.asked.size();
    frame()->command(vozo::IDM_SAVE);
    o.dialogs_shown = dialogs.save_requests.size();
    o.bytes = harness::read_file(path);
    harness::type(console(), "\r");
  });
  script.when(computation_ended, [&] {
    dialogs.answers.push_back(vozo::Answer::no);
    frame()->command(vozo::IDM_EXIT);
  });
  vozo_qt::run_windowed([] {
    harness::write("P> ");
    harness::read_line();
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_TRUE(o.save_enabled);
  EXPECT_EQ(o.asked_before_exit, 1u);
  EXPECT_EQ(o.dialogs_shown, 1u);
  // The pending line "P> xy" is not finished but is stored: it is line 1.
  EXPECT_EQ(o.bytes, std::string("P> xy\r\n"));
  ASSERT_EQ(dialogs.asked.size(), 2u);
  EXPECT_EQ(dialogs.asked[1], "Save changes to t.txt?");
}

TEST(Save, FailureKeepsTheTextModifiedAndAnEarlierFileIntact) {
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  const std::string dir = harness::temp_dir();
  Observed o;
  script.when(computation_ended, [&] {
    dialogs.save_paths.push_back(dir + "/missing/sub/t.txt");
    frame()->command(vozo::IDM_SAVEAS);
    o.save_enabled = frame()->item_enabled(vozo::IDM_SAVE);
    o.modified = console()->document().modified();
    // Save As cancelled changes nothing either.
    dialogs.save_paths.push_back("");
    frame()->command(vozo::IDM_SAVEAS);
    dialogs.answers.push_back(vozo::Answer::no);
    frame()->command(vozo::IDM_EXIT);
  });
  vozo_qt::run_windowed([] { harness::write("text\r\n"); });
  EXPECT_EQ(dialogs.warnings,
            std::vector<std::string>{"Cannot create file " + dir +
                                     "/missing/sub/t.txt: No such file or directory"});
  EXPECT_TRUE(o.save_enabled);
  EXPECT_TRUE(o.modified);
  EXPECT_FALSE(std::filesystem::exists(dir + "/missing"));
  EXPECT_EQ(dialogs.asked.size(), 1u);
}

TEST(Save, ExitWithYesSavesThroughTheDialogThenEnds) {
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  const std::string dir = harness::temp_dir();
  script.when(computation_ended, [&] {
    dialogs.save_paths.push_back(dir + "/end.txt");
    dialogs.answers.push_back(vozo::Answer::yes);
    frame()->command(vozo::IDM_EXIT);
  });
  EXPECT_EQ(vozo_qt::run_windowed([] { harness::write("last\r\n"); }), 0);
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(harness::read_file(dir + "/end.txt"), std::string("last\r\n"));
}

}  // namespace
