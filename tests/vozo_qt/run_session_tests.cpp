// SPDX-License-Identifier: GPL-3.0-or-later
// Runs as objects: File > New run... types the dialog's answers into a fresh console, a
// second run gets a console and results of its own, Stop and Exit during a run leave a
// report marked incomplete and a non-zero exit code, and a failed run says where.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "desktop/run_end.h"
#include "harness.h"
#include "results_qt/results_menu.h"
#include "results_qt/run_results.h"
#include "session_harness.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"
#include "vozo_qt/run_progress.h"

namespace {

namespace fs = std::filesystem;

// A folder `name` in dir holding the example files and the terminal program's report
// on them, term.txt.
fs::path site(const fs::path& dir, const std::string& name) {
  const fs::path folder = dir / name;
  fs::create_directories(folder);
  fs::copy_file(fs::path(GEMINO_EXAMPLES) / "params.txt", folder / "params.txt");
  fs::copy_file(fs::path(GEMINO_EXAMPLES) / "data.txt", folder / "data.txt");
  const std::string term = "cd '" + folder.string() +
                           "' && printf '\\nparams.txt\\ndata.txt\\nterm.txt\\n' | '" +
                           GEMINO_TERM_PATH + "' >/dev/null 2>&1";
  EXPECT_EQ(std::system(term.c_str()), 0);
  return folder;
}

// The example made to run for minutes: 150,000,000 starting tensors.
void make_long(const fs::path& params) {
  std::string text = harness::read_file(params.string());
  const std::string from = "\n1 200 100 10 900 0 0";
  const std::size_t at = text.find(from);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, from.size(), "\n1 150000000 100 10 900 0 0");
  std::ofstream(params, std::ios::binary) << text;
}

desktop::RunRequest request(const fs::path& params, const std::string& data,
                            const std::string& report, double crss = 10.0) {
  desktop::RunRequest r;
  r.parameter_file = params.string();
  r.data_file = data;
  r.report_file = report;
  r.crss_mpa = crss;
  return r;
}

desktop_qt::DesktopRun* last_run() {
  return harness::session()->runs().back().get();
}

bool last_ended() {
  return !harness::session()->runs().empty() && last_run()->ended();
}

bool inverting() {
  return harness::session()->running() && vozo_qt::latest_progress().what != nullptr;
}

// Exit, answering each question in turn.
void exit_answering(harness::ScriptedDialogs& dialogs, std::initializer_list<vozo::Answer> said) {
  dialogs.answers.assign(said);
  harness::frame()->command(vozo::IDM_EXIT);
}

std::string ending(const std::string& text, std::size_t n) {
  return text.size() < n ? text : text.substr(text.size() - n);
}

// Typed from nowhere near the files: the dialog's relative data and report names are
// taken in the parameter file's folder.
TEST(RunSession, NewRunWritesTheTerminalProgramsReport) {
  const fs::path dir(harness::temp_dir());
  const fs::path one = site(dir, "one");
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  std::vector<std::string> shown;
  QString title;
  script.then([] { harness::session()->new_run(); });
  script.when(last_ended, [&] {
    shown = harness::lines(harness::console());
    title = harness::frame()->children().front()->windowTitle();
    exit_answering(dialogs, {vozo::Answer::no});
  });
  const fs::path home = fs::current_path();
  fs::current_path(dir);
  const int32_t code = harness::run_session(false, [&](const desktop::RunRequest&) {
    return request(one / "params.txt", "data.txt", "window.txt");
  });
  fs::current_path(home);
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, 0);
  EXPECT_EQ(title, "Input/Output");
  // Typed as a user would: the names as they stand in the run's folder.
  for (const char* typed :
       {" New value = params.txt", " New value = data.txt", " New value = window.txt"}) {
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [typed](const std::string& line) {
      return line.rfind(typed, 0) == 0;
    })) << typed;
  }
  const std::string expected = harness::read_file((one / "term.txt").string());
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(harness::read_file((one / "window.txt").string()), expected);
  EXPECT_FALSE(fs::exists(dir / "window.txt"));
}

// New run while the start-up console still waits for its first answer: that run gives
// way without a word, and the session's exit code stays 0.
TEST(RunSession, NewRunTakesThePlaceOfTheWaitingConsoleDialogue) {
  const fs::path dir(harness::temp_dir());
  const fs::path one = site(dir, "one");
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  QString status;
  bool first_set_aside = false;
  script.on_read([] { harness::session()->new_run(); });
  script.when([] { return harness::session()->runs().size() == 2 && last_ended(); },
              [&] {
                status = harness::frame()->status_text();
                first_set_aside = harness::session()->runs().front()->is_set_aside();
                exit_answering(dialogs, {vozo::Answer::no, vozo::Answer::no});
              });
  const int32_t code = harness::run_session(true, [&](const desktop::RunRequest&) {
    return request(one / "params.txt", "data.txt", "report.txt");
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, 0);
  EXPECT_TRUE(first_set_aside);
  EXPECT_EQ(status, "The run has ended.");
  EXPECT_EQ(harness::read_file((one / "report.txt").string()),
            harness::read_file((one / "term.txt").string()));
}

// The first run typed in its console; the second, on a copy of the data with another
// CRSS, gets its own console and results; the Results menu follows the active console.
// The first console no longer takes typing once its run is over.
TEST(RunSession, SecondRunHasItsOwnConsoleAndResults) {
  const fs::path dir(harness::temp_dir());
  const fs::path one = site(dir, "one");
  const fs::path two = site(dir, "two");
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  script.on_read([] { harness::type(harness::console(), "\r"); });
  script.on_read([] { harness::type(harness::console(), "params.txt\r"); });
  script.on_read([] { harness::type(harness::console(), "data.txt\r"); });
  script.on_read([] { harness::type(harness::console(), "first.txt\r"); });
  std::size_t first_lines = 0;
  script.when(last_ended, [&] {
    first_lines = harness::lines(harness::console(0)).size();
    harness::type(harness::console(0), "typed after the end\r");
    harness::frame()->activateWindow();
    QTest::keyClick(harness::frame(), Qt::Key_N, Qt::ControlModifier);
  });
  QStringList titles;
  double crss_two = 0, crss_one = 0;
  int32_t planes_two = 0;
  std::size_t first_lines_after = 0;
  script.when(
      [] { return harness::session()->runs().size() == 2 && last_ended(); },
      [&] {
        for (QMdiSubWindow* sub : harness::frame()->children()) titles << sub->windowTitle();
        crss_two = results_qt::chosen_crss();
        planes_two = results_qt::finished_result() != nullptr
                         ? results_qt::finished_result()->counts.planes
                         : -1;
        // The first run's console made active: the menu acts on the first run.
        harness::frame()->client()->setActiveSubWindow(harness::frame()->children().front());
        crss_one = results_qt::chosen_crss();
        first_lines_after = harness::lines(harness::console(0)).size();
        exit_answering(dialogs, {vozo::Answer::no, vozo::Answer::no});
      });
  const fs::path home = fs::current_path();
  fs::current_path(one);
  const int32_t code = harness::run_session(true, [&](const desktop::RunRequest& last) {
    EXPECT_EQ(last.parameter_file, "");  // the typed run gave the dialog nothing
    return request(two / "params.txt", "data.txt", "second.txt", 25.0);
  });
  fs::current_path(home);
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, 0);
  EXPECT_EQ(titles, QStringList({"Input/Output", "Run 2 \u2014 Input/Output"}));
  EXPECT_EQ(crss_two, 25.0);
  EXPECT_EQ(crss_one, 10.0);
  EXPECT_EQ(planes_two, 180);
  EXPECT_EQ(first_lines_after, first_lines);
  EXPECT_EQ(harness::read_file((one / "first.txt").string()),
            harness::read_file((one / "term.txt").string()));
  EXPECT_EQ(harness::read_file((two / "second.txt").string()),
            harness::read_file((two / "term.txt").string()));
}

// Stop (Esc in the console) ends a long run at its next progress report: the report ends
// with the incomplete line and the status bar says so. The parameters fixed, Run again
// repeats the names and writes the whole report; the session's exit code still tells
// that a run was stopped.
TEST(RunSession, StopMarksTheReportAndRunAgainRepeatsTheNames) {
  const fs::path dir(harness::temp_dir());
  const fs::path one = site(dir, "one");
  const std::string good = harness::read_file((one / "params.txt").string());
  make_long(one / "params.txt");
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  QString stopped_status;
  std::string stopped_report;
  bool results_enabled_after_stop = true;
  script.then([] { harness::session()->new_run(); });
  script.when(inverting, [] { QTest::keyClick(harness::console(), Qt::Key_Escape); });
  script.when(last_ended, [&] {
    stopped_status = harness::frame()->status_text();
    stopped_report = harness::read_file((one / "report.txt").string());
    results_enabled_after_stop = results_qt::finished_result() != nullptr;
    std::ofstream(one / "params.txt", std::ios::binary) << good;
    QTest::keyClick(harness::frame(), Qt::Key_R, Qt::ControlModifier);
  });
  script.when([] { return harness::session()->runs().size() == 2 && last_ended(); },
              [&] {
                exit_answering(dialogs, {vozo::Answer::no, vozo::Answer::no});
              });
  const int32_t code = harness::run_session(false, [&](const desktop::RunRequest&) {
    return request(one / "params.txt", "data.txt", "report.txt");
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, desktop::stopped_exit_code);
  EXPECT_EQ(ending(stopped_report, desktop::incomplete_line.size() + 2),
            std::string(desktop::incomplete_line) + "\r\n");
  EXPECT_TRUE(stopped_status.contains("stopped before its end")) << stopped_status.toStdString();
  EXPECT_FALSE(results_enabled_after_stop);
  EXPECT_EQ(harness::read_file((one / "report.txt").string()),
            harness::read_file((one / "term.txt").string()));
}

// Exit during a run asks first: No keeps the run going; Yes stops it, the report is
// marked, and the program's exit code is not 0.
TEST(RunSession, ExitDuringARunAsksFirst) {
  const fs::path dir(harness::temp_dir());
  const fs::path one = site(dir, "one");
  make_long(one / "params.txt");
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  bool kept = false;
  script.then([] { harness::session()->new_run(); });
  script.when(inverting, [&] {
    exit_answering(dialogs, {vozo::Answer::no});
    kept = !harness::frame()->exited() && harness::session()->running();
    exit_answering(dialogs, {vozo::Answer::yes, vozo::Answer::no});
  });
  const int32_t code = harness::run_session(false, [&](const desktop::RunRequest&) {
    return request(one / "params.txt", "data.txt", "report.txt");
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_TRUE(kept);
  ASSERT_GE(dialogs.asked.size(), 2u);
  EXPECT_EQ(dialogs.asked[0], "An inversion is running. Stop it and quit?");
  EXPECT_EQ(code, desktop::stopped_exit_code);
  EXPECT_EQ(ending(harness::read_file((one / "report.txt").string()),
                   desktop::incomplete_line.size() + 2),
            std::string(desktop::incomplete_line) + "\r\n");
}

// A data file the run cannot read: the status bar names the file, line and column, and
// the partial report is marked; a run failing so is not one the user stopped.
TEST(RunSession, FailedRunSaysWhereAndMarksTheReport) {
  const fs::path dir(harness::temp_dir());
  const fs::path one = site(dir, "one");
  std::string data = harness::read_file((one / "data.txt").string());
  const std::size_t line3 = data.find('\n', data.find('\n') + 1) + 1;
  data.replace(line3, 5, "  3x2");
  std::ofstream(one / "data.txt", std::ios::binary) << data;
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  QString status;
  script.then([] { harness::session()->new_run(); });
  script.when(last_ended, [&] {
    status = harness::frame()->status_text();
    exit_answering(dialogs, {vozo::Answer::no});
  });
  const int32_t code = harness::run_session(false, [&](const desktop::RunRequest&) {
    return request(one / "params.txt", "data.txt", "report.txt");
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, 2);
  EXPECT_TRUE(status.contains("The run failed: File data.txt, line 3, column"))
      << status.toStdString();
  EXPECT_EQ(ending(harness::read_file((one / "report.txt").string()),
                   desktop::incomplete_line.size() + 2),
            std::string(desktop::incomplete_line) + "\r\n");
}

}  // namespace
