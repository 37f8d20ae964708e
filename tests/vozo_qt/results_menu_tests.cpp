// The "Results" menu of the windowed program: added at the end of a run that wrote its
// whole report, with its three items; absent after a run that failed.
#include <gtest/gtest.h>

#include <QMenu>
#include <filesystem>
#include <fstream>

#include "gemino/driver.h"
#include "harness.h"
#include "results_qt/results_menu.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/application.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace {

namespace fs = std::filesystem;

// Runs the windowed program on params.txt and data.txt of `dir`; returns the titles of the
// menus and the items of a "Results" menu as they were when the run ended.
QStringList menus_after_run(const fs::path& dir, QStringList& results_items) {
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  const fs::path home = fs::current_path();
  fs::current_path(dir);
  script.on_read([] { harness::type(harness::console(), "\r"); });
  script.on_read([] { harness::type(harness::console(), "params.txt\r"); });
  script.on_read([] { harness::type(harness::console(), "data.txt\r"); });
  script.on_read([] { harness::type(harness::console(), "report.txt\r"); });
  QStringList titles;
  script.when([] { return vozo_qt::env().end.ended(); },
              [&] {
                for (QMenu* menu : harness::frame()->menus()) {
                  // Titles as the user reads them, without their mnemonic marks.
                  titles << QString(menu->title()).remove(QLatin1Char('&'));
                  if (titles.back() != "Results") continue;
                  for (QAction* a : menu->actions()) results_items << a->text();
                }
                dialogs.answers.push_back(vozo::Answer::no);
                harness::frame()->command(vozo::IDM_EXIT);
              });
  vozo_qt::run_windowed([] {
    results_qt::add_menu_when_run_ends();
    gemino::run_driver(gemino::shared_state());
  });
  fs::current_path(home);
  EXPECT_FALSE(script.timed_out());
  return titles;
}

TEST(ResultsMenu, AddedAfterASoundRunBeforeTheWindowMenu) {
  const fs::path dir(harness::temp_dir());
  fs::copy_file(fs::path(GEMINO_EXAMPLES) / "params.txt", dir / "params.txt");
  fs::copy_file(fs::path(GEMINO_EXAMPLES) / "data.txt", dir / "data.txt");
  QStringList items;
  const QStringList titles = menus_after_run(dir, items);
  EXPECT_EQ(titles.indexOf("Results") + 1, titles.indexOf("Window"))
      << titles.join(",").toStdString();
  // Each item with its own mnemonic.
  EXPECT_EQ(items,
            QStringList({"Export &JSON...", "Export C&SV...", "Stress &magnitudes...", "S&tereonet",
                         "&Grains", "S&hear-stress plot", "&Cumulative chart"}));
  ASSERT_NE(results_qt::finished_result(), nullptr);
  EXPECT_EQ(results_qt::finished_result()->counts.planes, 180);
}

TEST(ResultsMenu, NoneAfterAFailedRun) {
  const fs::path dir(harness::temp_dir());
  std::ofstream(dir / "params.txt") << "TOO SHORT\n";
  std::ofstream(dir / "data.txt") << "";
  QStringList items;
  EXPECT_FALSE(menus_after_run(dir, items).contains("Results"));
}

}  // namespace
