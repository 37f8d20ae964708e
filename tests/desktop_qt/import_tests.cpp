// SPDX-License-Identifier: GPL-3.0-or-later
// File > Import table...: the terminal program's conversion behind a menu item, with the
// status bar saying what was written, or why nothing was.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <filesystem>

#include "desktop_qt/import_dialog.h"
#include "fixture.h"
#include "support/scratch_dir.h"

namespace {

using desktop_test::FrameWithWorkbench;
using test_support::ScratchDir;

const std::string table =
    "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned\n1,268,37,28,29,1\n1,268,37,251,15,0\n";

TEST(ImportTable, WritesTheDataFileOrNothingAndSaysWhich) {
  auto store = std::make_shared<desktop::MemoryStore>();
  desktop_test::QuietDialogs dialogs;
  FrameWithWorkbench f(store);
  ScratchDir dir;
  test_support::put(dir.file("planes.csv"), table);
  // The same table with a plunge beyond 90 degrees on its fourth line.
  test_support::put(dir.file("bad.csv"), table + "2,268,37,28,95,1\n");

  desktop_test::QuietDialogs* shown = &dialogs;
  std::optional<desktop_qt::ImportRequest> next;
  QMenu file;
  QAction* item = desktop_qt::add_import_item(f.frame(), &file, nullptr, [&] { return next; });
  ASSERT_EQ(file.actions().size(), 1);
  EXPECT_EQ(file.actions().first(), item);
  EXPECT_FALSE(item->statusTip().isEmpty());

  // Cancelled: nothing happens.
  item->trigger();
  EXPECT_FALSE(std::filesystem::exists(dir.file("planes.txt")));

  next = desktop_qt::ImportRequest{QString::fromStdString(dir.file("planes.csv")),
                                   QString::fromStdString(dir.file("planes.txt")),
                                   {}};
  item->trigger();
  ASSERT_TRUE(std::filesystem::exists(dir.file("planes.txt")));
  const QString said = f.frame().status_text();
  EXPECT_TRUE(said.startsWith("Import: converted a plane table: 1 grains, 2 planes; wrote "))
      << said.toStdString();
  EXPECT_TRUE(said.contains("largest change from rounding to whole degrees")) << said.toStdString();
  EXPECT_TRUE(shown->warnings.empty());

  next = desktop_qt::ImportRequest{
      QString::fromStdString(dir.file("bad.csv")), QString::fromStdString(dir.file("bad.txt")), {}};
  item->trigger();
  EXPECT_FALSE(std::filesystem::exists(dir.file("bad.txt")));
  const QString refused = f.frame().status_text();
  EXPECT_TRUE(refused.startsWith("Import: nothing written: ")) << refused.toStdString();
  EXPECT_TRUE(refused.contains("bad.csv:4:")) << refused.toStdString();
  ASSERT_EQ(shown->warnings.size(), 1u);
  EXPECT_EQ(shown->warnings[0], refused.toStdString());
}

TEST(ImportTable, AnEbsdTableWithoutItsConventionsIsRefusedUntilTheyAreGiven) {
  auto store = std::make_shared<desktop::MemoryStore>();
  desktop_test::QuietDialogs dialogs;
  FrameWithWorkbench f(store);
  ScratchDir dir;
  test_support::put(dir.file("grains.csv"), "grain,phi1,Phi,phi2,e1,e2,e3\n1,0,0,0,1,0,0\n");
  desktop_qt::ImportRequest request{QString::fromStdString(dir.file("grains.csv")),
                                    QString::fromStdString(dir.file("grains.txt")),
                                    {}};
  EXPECT_FALSE(desktop_qt::import_table(f.frame(), request));
  EXPECT_TRUE(f.frame().status_text().contains("euler")) << f.frame().status_text().toStdString();
  EXPECT_FALSE(std::filesystem::exists(dir.file("grains.txt")));

  request.options.declarations = {"bunge-passive", "x=a", "0 0 0"};
  EXPECT_TRUE(desktop_qt::import_table(f.frame(), request))
      << f.frame().status_text().toStdString();
  EXPECT_TRUE(f.frame().status_text().startsWith(
      "Import: converted an EBSD grain table: 1 grains, 3 planes"))
      << f.frame().status_text().toStdString();
  EXPECT_TRUE(std::filesystem::exists(dir.file("grains.txt")));
}

}  // namespace
