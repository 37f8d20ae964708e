// SPDX-License-Identifier: GPL-3.0-or-later
// The workbench on a frame: the Help menu last with the guide and the About box, a tip
// for every menu item, and the settings a session leaves for the next.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <fstream>

#include "desktop_qt/help_windows.h"
#include "desktop_qt/qt_settings.h"
#include "fixture.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/console_window.h"

namespace {

using desktop_test::FrameWithWorkbench;

QStringList titles(const vozo_qt::Frame& frame) {
  QStringList t;
  for (QMenu* m : frame.menus()) t << m->title();
  return t;
}

TEST(HelpMenu, LastWithTheGuideOnF1AndAboutGemino) {
  auto store = std::make_shared<desktop::MemoryStore>();
  FrameWithWorkbench f(store);
  EXPECT_EQ(titles(f.frame()), QStringList({"&File", "&Edit", "F&ormat", "&Window", "&Help"}));
  // Installing again (a second run of the session) adds nothing.
  double crss = 10.0;
  EXPECT_EQ(
      desktop_qt::install_workbench(f.frame(), std::make_unique<desktop::MemoryStore>(), crss),
      &f.bench());
  EXPECT_EQ(f.frame().menus().size(), 5);

  const QList<QAction*> items = f.bench().help_menu()->actions();
  ASSERT_EQ(items.size(), 2);
  EXPECT_EQ(items[0]->text(), "&User guide");
  EXPECT_EQ(items[0]->shortcut(), QKeySequence(Qt::Key_F1));
  EXPECT_EQ(items[1]->text(), "&About Gemino");

  // The guide comes from the documentation beside the test program, rendered: the
  // Markdown's marks are gone, its first heading is there.
  ASSERT_FALSE(desktop_qt::guide_path().isEmpty());
  items[0]->trigger();
  auto* guide = f.frame().findChild<QDialog*>(QStringLiteral("user-guide"));
  ASSERT_NE(guide, nullptr);
  const QString shown = guide->findChild<QTextBrowser*>()->toPlainText();
  std::ifstream source(GEMINO_DOCS "/user-guide.md");
  std::string heading;
  std::getline(source, heading);
  ASSERT_EQ(heading.rfind("# ", 0), 0u) << heading;
  EXPECT_TRUE(shown.startsWith(QString::fromStdString(heading.substr(2))))
      << shown.left(80).toStdString();
  EXPECT_FALSE(shown.contains(QStringLiteral("](")));

  items[1]->trigger();
  auto* about = f.frame().findChild<QDialog*>(QStringLiteral("about-gemino"));
  ASSERT_NE(about, nullptr);
  const QString text = about->findChild<QLabel*>()->text();
  for (const QString& part : {QStringLiteral("Gemino 1.2"), QStringLiteral("GPL-3.0-or-later"),
                              QStringLiteral("To cite"), desktop_qt::guide_path()}) {
    EXPECT_TRUE(text.contains(part)) << part.toStdString() << " in " << text.toStdString();
  }
}

TEST(StatusTips, EveryItemOfEveryMenuAsItOpens) {
  auto store = std::make_shared<desktop::MemoryStore>();
  FrameWithWorkbench f(store);
  figures_qt::open_figure_window(figures::FigureKind::grains, desktop_test::example_data());
  // A menu the program adds later, with an item of the Results menu.
  QMenu* added = f.frame().insert_menu(3, QStringLiteral("&Results"));
  added->addAction(QStringLiteral("S&hear-stress plot"));
  for (QMenu* menu : f.frame().menus()) {
    // Opening a menu is what fills its tips (the Window menu lists its windows then).
    menu->popup(QPoint(0, 0));
    for (QAction* a : menu->actions()) {
      if (a->isSeparator()) continue;
      EXPECT_FALSE(a->statusTip().isEmpty())
          << menu->title().toStdString() << " > " << a->text().toStdString();
    }
    menu->hide();
  }
}

TEST(Settings, ASessionLeavesItsPlaceFolderCrssAndConsoleStyleToTheNext) {
  auto store = std::make_shared<desktop::MemoryStore>();
  QFont chosen(QStringLiteral("DejaVu Sans Mono"), 15);
  {
    FrameWithWorkbench f(store, 10.0);
    auto* console =
        new vozo_qt::ConsoleWindow(QStringLiteral("Input/Output"), vozo_qt::env().save_directory);
    f.frame().add_child(console, console->windowTitle(), QRect(10, 10, 400, 300));
    console->apply_font(chosen);
    console->state().set_text_color(0x2040a0);
    f.frame().setGeometry(40, 30, 700, 500);
    f.crss = 12.5;
    vozo_qt::env().save_directory.remember("/data/site 4/report.txt");
    f.frame().command(vozo::IDM_EXIT);
  }
  EXPECT_EQ(store->value("frame/geometry").value_or(""), "40 30 700 500");
  EXPECT_EQ(store->value("files/last_folder").value_or(""), "/data/site 4/");

  FrameWithWorkbench next(store, 10.0);
  EXPECT_EQ(next.crss, 12.5);
  EXPECT_EQ(vozo_qt::env().save_directory.directory(), "/data/site 4/");
  EXPECT_EQ(next.frame().geometry(), QRect(40, 30, 700, 500));
  // A console opened in the new session takes the font and colour.
  auto* console =
      new vozo_qt::ConsoleWindow(QStringLiteral("Input/Output"), vozo_qt::env().save_directory);
  next.frame().add_child(console, console->windowTitle(), QRect(10, 10, 400, 300));
  EXPECT_EQ(console->console_font().family(), chosen.family());
  EXPECT_EQ(console->console_font().pointSize(), 15);
  EXPECT_EQ(console->text_color(), QColor(0x20, 0x40, 0xa0));
}

TEST(Settings, FirstStartFitsTheScreenAndASettingsFileGoesWhereQtSettingsPointsIt) {
  auto store = std::make_shared<desktop::MemoryStore>();
  FrameWithWorkbench f(store);
  const QRect area = f.frame().screen()->availableGeometry();
  EXPECT_TRUE(area.contains(f.frame().geometry())) << area.width() << "x" << area.height();

  QTemporaryDir dir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  {
    desktop_qt::QtSettingsStore file_store;
    desktop::store_export_dpi(file_store, 600);
    file_store.flush();
  }
  EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("Gemino/gemino.conf"))));
  EXPECT_EQ(desktop::stored_export_dpi(desktop_qt::QtSettingsStore(), 300), 600);
}

}  // namespace
