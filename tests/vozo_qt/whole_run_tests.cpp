// A whole inversion typed into the "Input/Output" console: the report must be the one
// the terminal program writes from the same files.
#include <gtest/gtest.h>

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

TEST(WholeRun, ReportEqualsTheTerminalProgramsOnTheSameFiles) {
  const fs::path examples(GEMINO_EXAMPLES);
  if (!fs::exists(examples / "params.txt") || !fs::exists(examples / "data.txt")) {
    GTEST_SKIP() << "no example files";
  }
  const fs::path dir(harness::temp_dir());
  fs::copy_file(examples / "params.txt", dir / "params.txt");
  fs::copy_file(examples / "data.txt", dir / "data.txt");

  const std::string term = "cd '" + dir.string() +
                           "' && printf '\\nparams.txt\\ndata.txt\\nterm.txt\\n' | '" +
                           GEMINO_TERM_PATH + "' >/dev/null 2>&1";
  ASSERT_EQ(std::system(term.c_str()), 0);

  harness::ScriptedDialogs dialogs;
  harness::Script script;
  // The program keeps file names short: answer with names in the working directory.
  const fs::path home = fs::current_path();
  fs::current_path(dir);
  const std::string report = (dir / "window.txt").string();
  script.on_read([] { harness::type(harness::console(), "\r"); });
  script.on_read([] { harness::type(harness::console(), "params.txt\r"); });
  script.on_read([] { harness::type(harness::console(), "data.txt\r"); });
  script.on_read([] { harness::type(harness::console(), "window.txt\r"); });
  std::size_t console_lines = 0;
  script.when([] { return vozo_qt::env().end.ended(); },
              [&] {
                console_lines = harness::lines(harness::console()).size();
                dialogs.answers.push_back(vozo::Answer::no);
                harness::frame()->command(vozo::IDM_EXIT);
              });
  const int32_t code = vozo_qt::run_windowed([] { gemino::run_driver(gemino::shared_state()); });
  fs::current_path(home);

  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(code, 0);
  EXPECT_GT(console_lines, 40u);
  const std::string expected = harness::read_file((dir / "term.txt").string());
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(harness::read_file(report), expected);
}

}  // namespace
