// SPDX-License-Identifier: GPL-3.0-or-later
// The console hooks with the real frame and console widget: what the computation reads
// and writes, and how Exit, closing the console and saving meet a waiting read.
#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QTest>

#include "harness.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/application.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

using harness::console;
using harness::frame;

namespace {

// What a computation saw, kept outside it: computations are plain functions.
struct Seen {
  std::vector<std::string> reads;
  std::vector<std::string> lines;
  bool reached_end = false;
};
Seen seen;

void exit_answering(harness::ScriptedDialogs& dialogs, vozo::Answer answer) {
  dialogs.answers.push_back(answer);
  frame()->command(vozo::IDM_EXIT);
}

bool computation_ended() {
  return vozo_qt::env().end.ended();
}

class Bridge : public testing::Test {
 protected:
  void SetUp() override { seen = Seen{}; }
  harness::ScriptedDialogs dialogs;
  harness::Script script;
};

TEST_F(Bridge, ReadReturnsOnlyWhatWasTypedAfterAPrompt) {
  // One letter, Backspace, two letters, Return after a six-character prompt.
  script.on_read([] { harness::type(console(), "x\bab\r"); });
  script.when(computation_ended, [this] { exit_answering(dialogs, vozo::Answer::no); });
  const int32_t code = vozo_qt::run_windowed([] {
    harness::write("NAME? ");
    seen.reads.push_back(harness::read_line());
    seen.lines = harness::lines(console());
    seen.reached_end = true;
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, 0);
  EXPECT_EQ(seen.reads, std::vector<std::string>{"ab"});
  EXPECT_EQ(seen.lines, std::vector<std::string>{"NAME? ab"});
  EXPECT_TRUE(seen.reached_end);
}

TEST_F(Bridge, AFullConsoleIsToldInTheStatusBar) {
  QString notice;
  script.on_read([&] {
    notice = frame()->notice_text();
    harness::type(console(), "\r");
  });
  script.when(computation_ended, [this] { exit_answering(dialogs, vozo::Answer::no); });
  vozo_qt::run_windowed([] {
    // More output than the console's 262,144 bytes of text.
    const std::string record = std::string(1000, 'x') + "\r\n";
    for (int i = 0; i < 270; ++i) harness::write(record);
    seen.reads.push_back(harness::read_line());
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(notice, QString::fromLatin1(vozo_qt::store_full_notice));
}

TEST_F(Bridge, EditingKeysReachTheLastLine) {
  // abcd, two Left, Delete -> abd; Backspace -> ad with the caret after a; Tab at
  // column 1 -> seven blanks; Right; Insert opens a blank before the end.
  script.on_read([] {
    harness::type(console(), "abcd");
    QTest::keyClick(console(), Qt::Key_Left);
    QTest::keyClick(console(), Qt::Key_Left);
    QTest::keyClick(console(), Qt::Key_Delete);
    harness::type(console(), "\b\t");
    QTest::keyClick(console(), Qt::Key_Insert);
    harness::type(console(), "\r");
  });
  script.on_read([] { harness::type(console(), "\r"); });
  script.when(computation_ended, [this] { exit_answering(dialogs, vozo::Answer::no); });
  vozo_qt::run_windowed([] {
    seen.reads.push_back(harness::read_line());
    seen.reads.push_back(harness::read_line());
  });
  EXPECT_EQ(seen.reads, (std::vector<std::string>{"a" + std::string(8, ' ') + "d", ""}));
}

TEST_F(Bridge, ExitCancelledKeepsTheReadWaiting) {
  bool still_waiting = false;
  script.on_read([&] {
    exit_answering(dialogs, vozo::Answer::cancel);
    still_waiting = harness::reading() && !frame()->exited() && frame()->isVisible();
    harness::type(console(), "go\r");
  });
  script.when(computation_ended, [this] { exit_answering(dialogs, vozo::Answer::no); });
  const int32_t code = vozo_qt::run_windowed([] {
    harness::write("A? ");
    seen.reads.push_back(harness::read_line());
    harness::write("after\r\n");
    seen.reached_end = true;
  });
  EXPECT_TRUE(still_waiting);
  EXPECT_EQ(seen.reads, std::vector<std::string>{"go"});
  EXPECT_TRUE(seen.reached_end);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(dialogs.asked, (std::vector<std::string>{"Save changes to Input/Output?",
                                                     "Save changes to Input/Output?"}));
}

TEST_F(Bridge, ClosingTheFrameDuringAReadStopsTheComputation) {
  // The frame's close box runs Exit: No to the prompt, and the waiting read ends the run.
  script.on_read([this] {
    dialogs.answers.push_back(vozo::Answer::no);
    frame()->close();
  });
  const int32_t code = vozo_qt::run_windowed([] {
    harness::write("Q? ");
    seen.reads.push_back(harness::read_line());
    seen.reached_end = true;
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(seen.reads.empty());
  EXPECT_FALSE(seen.reached_end);
  EXPECT_TRUE(dialogs.fatals.empty());
}

TEST_F(Bridge, ExitWhileTheComputationWritesStopsItAtItsNextStatement) {
  script.when([] { return console() != nullptr && console()->state().store().line_count() > 5; },
              [this] { exit_answering(dialogs, vozo::Answer::no); });
  const int32_t code = vozo_qt::run_windowed([] {
    for (int i = 0; i < 2000000; ++i) harness::write("busy\r\n");
    seen.reached_end = true;
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(seen.reached_end);
}

TEST_F(Bridge, ClosingTheConsoleDuringAReadIsAWindowHandlerError) {
  script.on_read([this] {
    dialogs.answers.push_back(vozo::Answer::no);
    frame()->children().first()->close();
  });
  const int32_t code = vozo_qt::run_windowed([] {
    seen.reads.push_back(harness::read_line());
    seen.reached_end = true;
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, 0);
  EXPECT_FALSE(seen.reached_end);
  EXPECT_EQ(dialogs.fatals,
            std::vector<std::string>{"Window Handler Error|Not a valid window, program exited."});
}

TEST_F(Bridge, OutputRecordsBecomeLines) {
  // Two records, a line feed inside the text, an empty record.
  script.when(computation_ended, [this] {
    seen.lines = harness::lines(console());
    exit_answering(dialogs, vozo::Answer::no);
  });
  vozo_qt::run_windowed([] {
    harness::write("ab\r\n");
    harness::write("c\nd\r\n");
    harness::write("\r\n");
    harness::write("e\r\n");
  });
  EXPECT_EQ(seen.lines, (std::vector<std::string>{"ab", "c d", "", "e"}));
}

}  // namespace
