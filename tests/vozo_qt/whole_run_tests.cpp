// SPDX-License-Identifier: GPL-3.0-or-later
// A whole inversion typed into the "Input/Output" console: the report must be the one
// the terminal program writes from the same files, whether the file names are typed or
// chosen with File > Browse....
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "gemino/driver.h"
#include "harness.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/application.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace {

namespace fs = std::filesystem;

// A directory holding the example files and the terminal program's report, term.txt.
// Empty when the examples are missing.
fs::path prepared_directory() {
  const fs::path examples(GEMINO_EXAMPLES);
  if (!fs::exists(examples / "params.txt") || !fs::exists(examples / "data.txt")) return {};
  const fs::path dir(harness::temp_dir());
  fs::copy_file(examples / "params.txt", dir / "params.txt");
  fs::copy_file(examples / "data.txt", dir / "data.txt");
  const std::string term = "cd '" + dir.string() +
                           "' && printf '\\nparams.txt\\ndata.txt\\nterm.txt\\n' | '" +
                           GEMINO_TERM_PATH + "' >/dev/null 2>&1";
  EXPECT_EQ(std::system(term.c_str()), 0);
  return dir;
}

// Runs the program in dir with the script's answers; Exit (and No to the save prompt)
// once the run has ended. Returns the exit code.
int32_t run_in(const fs::path& dir, harness::ScriptedDialogs& dialogs, harness::Script& script,
               std::vector<std::string>& shown) {
  script.when([] { return vozo_qt::env().end.ended(); },
              [&] {
                shown = harness::lines(harness::console());
                dialogs.answers.push_back(vozo::Answer::no);
                harness::frame()->command(vozo::IDM_EXIT);
              });
  const fs::path home = fs::current_path();
  fs::current_path(dir);
  const int32_t code = vozo_qt::run_windowed([] { gemino::run_driver(gemino::shared_state()); });
  fs::current_path(home);
  return code;
}

TEST(WholeRun, ReportEqualsTheTerminalProgramsOnTheSameFiles) {
  const fs::path dir = prepared_directory();
  if (dir.empty()) GTEST_SKIP() << "no example files";
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  script.on_read([] { harness::type(harness::console(), "\r"); });
  script.on_read([] { harness::type(harness::console(), "params.txt\r"); });
  script.on_read([] { harness::type(harness::console(), "data.txt\r"); });
  script.on_read([] { harness::type(harness::console(), "window.txt\r"); });
  std::vector<std::string> shown;
  const int32_t code = run_in(dir, dialogs, script, shown);

  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, 0);
  EXPECT_GT(shown.size(), 40u);
  const std::string expected = harness::read_file((dir / "term.txt").string());
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(harness::read_file((dir / "window.txt").string()), expected);
}

// Browse is offered at the three file questions only; it opens an open dialog for the
// parameter and data files and a save dialog for the report, in the working folder, and
// the chosen file answers the question in place of anything typed. Ctrl+O does the same.
TEST(WholeRun, BrowseAnswersTheFileQuestions) {
  const fs::path dir = prepared_directory();
  if (dir.empty()) GTEST_SKIP() << "no example files";
  harness::ScriptedDialogs dialogs;
  const std::string real_dir = fs::canonical(dir).string();
  dialogs.browse_paths = {"", real_dir + "/params.txt", real_dir + "/data.txt",
                          real_dir + "/window.txt"};
  harness::Script script;
  std::vector<bool> offered;
  const auto browse_enabled = [&offered] {
    offered.push_back(harness::frame()->item_enabled(vozo::IDM_BROWSE));
  };
  script.on_read([&] {
    browse_enabled();
    harness::type(harness::console(), "\r");
  });
  script.on_read([&] {
    browse_enabled();
    harness::frame()->command(vozo::IDM_BROWSE);  // cancelled: the question still waits
    harness::frame()->command(vozo::IDM_BROWSE);
  });
  script.on_read([&] {
    browse_enabled();
    // A name begun by hand gives way to the chosen one.
    harness::type(harness::console(), "dat");
    QTest::keyClick(harness::console(), Qt::Key_Left);
    harness::frame()->activateWindow();
    QTest::keyClick(harness::console(), Qt::Key_O, Qt::ControlModifier);
  });
  script.on_read([&] {
    browse_enabled();
    harness::frame()->command(vozo::IDM_BROWSE);
    browse_enabled();
  });
  std::vector<std::string> shown;
  const int32_t code = run_in(dir, dialogs, script, shown);

  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, 0);
  EXPECT_EQ(offered, std::vector<bool>({false, true, true, true, false}));
  ASSERT_EQ(dialogs.browse_requests.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(dialogs.browse_requests[i].save, i == 3) << i;
    EXPECT_EQ(fs::canonical(dialogs.browse_requests[i].directory), fs::canonical(dir)) << i;
  }
  // The chosen files were typed as the user would have typed them.
  for (const char* typed : {"params.txt", "data.txt", "window.txt"}) {
    EXPECT_TRUE(std::any_of(shown.begin(), shown.end(), [typed](const std::string& line) {
      return line == typed;
    })) << typed;
  }
  EXPECT_EQ(harness::read_file((dir / "window.txt").string()),
            harness::read_file((dir / "term.txt").string()));
}

}  // namespace
