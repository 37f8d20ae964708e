// SPDX-License-Identifier: GPL-3.0-or-later
// The frame: its menus and accelerators, window arrangement and the Window menu's list;
// console windows opened by units with a "WINDOW" access value.
#include <gtest/gtest.h>

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTest>

#include "harness.h"
#include "recfmt/hooks.h"
#include "recfmt/units.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/application.h"
#include "vozo_qt/console_hooks.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

using harness::console;
using harness::frame;

namespace {

struct Item {
  QString text;
  QString shortcut;
};

std::vector<Item> items_of(QMenu* menu) {
  std::vector<Item> items;
  for (QAction* a : menu->actions()) {
    items.push_back({a->isSeparator() ? QStringLiteral("-") : a->text(),
                     a->shortcut().toString(QKeySequence::PortableText)});
  }
  return items;
}

TEST(FrameMenus, ItemsAndAcceleratorsAsTheUserSeesThem) {
  harness::ScriptedDialogs dialogs;
  vozo_qt::Frame f(QStringLiteral("gemino"));
  f.command(vozo::IDM_ABOUT);
  EXPECT_EQ(dialogs.abouts, 1);
  const QList<QMenu*> menus = f.menus();
  ASSERT_EQ(menus.size(), 4);
  const std::vector<std::vector<Item>> expected = {
      {{"&Browse...", "Ctrl+O"},
       {"-", ""},
       {"&Save", "Ctrl+S"},
       {"Save &As...", "Ctrl+Shift+S"},
       {"-", ""},
       {"&Print...", "Ctrl+P"},
       {"-", ""},
       {"Abou&t...", ""},
       {"-", ""},
       {"E&xit", "Ctrl+Q"}},
      {{"&Undo", "Ctrl+Z"},
       {"-", ""},
       {"Cu&t", "Ctrl+X"},
       {"&Copy", "Ctrl+C"},
       {"&Paste", "Ctrl+V"},
       {"De&lete", ""}},
      {{"&Font...", ""}, {"&Color", ""}},
      {{"&Cascade", "Shift+F5"},
       {"Tile &Horizontally", ""},
       {"Tile &Vertically", ""},
       {"&Arrange Icons", ""}},
  };
  const QStringList titles = {"&File", "&Edit", "F&ormat", "&Window"};
  for (int m = 0; m < 4; ++m) {
    EXPECT_EQ(menus[m]->title(), titles[m]);
    const std::vector<Item> items = items_of(menus[m]);
    ASSERT_EQ(items.size(), expected[m].size()) << m;
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].text, expected[m][i].text) << m << " " << i;
      EXPECT_EQ(items[i].shortcut, expected[m][i].shortcut) << m << " " << i;
    }
  }
  for (int32_t id : {vozo::IDM_SAVE, vozo::IDM_CUT, vozo::IDM_COPY, vozo::IDM_PASTE,
                     vozo::IDM_DELETE, vozo::IDM_FONT}) {
    EXPECT_TRUE(f.item_enabled(id)) << id;
  }
  // No file question is asked yet.
  EXPECT_FALSE(f.item_enabled(vozo::IDM_BROWSE));
}

TEST(FrameWindows, ArrangementAndTheWindowList) {
  vozo_qt::Frame f(QStringLiteral("gemino"));
  f.resize(900, 700);
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  std::vector<QMdiSubWindow*> subs;
  vozo::SaveDirectory directory;
  for (const char* title : {"one", "two", "R&D.txt"}) {
    subs.push_back(f.add_child(new vozo_qt::ConsoleWindow(QString::fromLatin1(title), directory),
                               QString::fromLatin1(title), QRect(10, 10, 300, 200)));
  }
  const QRect area = f.client()->viewport()->rect();

  f.command(vozo::IDM_TILEVERT);  // side by side, full height
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(subs[i]->geometry().top(), 0);
    EXPECT_EQ(subs[i]->geometry().height(), area.height());
    EXPECT_EQ(subs[i]->geometry().left(), area.width() * i / 3);
  }
  f.command(vozo::IDM_TILEHORZ);  // stacked, full width
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(subs[i]->geometry().left(), 0);
    EXPECT_EQ(subs[i]->geometry().width(), area.width());
    EXPECT_EQ(subs[i]->geometry().top(), area.height() * i / 3);
  }
  // Shift+F5 cascades: each child lower and further right than the one before.
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&f));
  QTest::keyClick(&f, Qt::Key_F5, Qt::ShiftModifier);
  std::vector<QMdiSubWindow*> order = subs;
  std::sort(order.begin(), order.end(),
            [](QMdiSubWindow* a, QMdiSubWindow* b) { return a->y() < b->y(); });
  EXPECT_LT(order[0]->y(), order[1]->y());
  EXPECT_LT(order[1]->y(), order[2]->y());
  EXPECT_LT(order[0]->x(), order[2]->x());
  // Each keeps most of the client area, whatever size it had before.
  for (QMdiSubWindow* sub : subs) {
    EXPECT_GE(sub->height(), area.height() * 2 / 3);
    EXPECT_GE(sub->width(), area.width() - area.height() / 3);
  }
  // The active child is in front.
  EXPECT_EQ(f.client()->subWindowList(QMdiArea::StackingOrder).last(),
            f.client()->currentSubWindow());

  // The Window menu lists the children; choosing one activates it.
  f.menus()[3]->aboutToShow();
  QList<QAction*> list = f.window_list_actions();
  ASSERT_EQ(list.size(), 4);  // separator and three children
  EXPECT_EQ(list[1]->text(), QStringLiteral("&1 one"));
  // An ampersand of a title is shown, not taken for a mnemonic.
  EXPECT_EQ(list[3]->text(), QStringLiteral("&3 R&&D.txt"));
  list[1]->trigger();
  EXPECT_EQ(f.client()->currentSubWindow(), subs[0]);
  f.command(vozo::first_child_window_id + 1);
  EXPECT_EQ(f.client()->currentSubWindow(), subs[1]);

  // Minimised children line up along the bottom edge.
  subs[0]->showMinimized();
  subs[2]->showMinimized();
  f.command(vozo::IDM_ARRANGE);
  EXPECT_EQ(subs[0]->geometry().bottom(), area.height() - 1);
  EXPECT_EQ(subs[2]->geometry().bottom(), area.height() - 1);
  EXPECT_EQ(subs[0]->x(), 0);
  EXPECT_EQ(subs[2]->x(), subs[0]->width());
}

struct UnitResults {
  std::vector<int32_t> opened;
  QSize sized;
  QSize plain;
  std::vector<std::string> unit_lines;
  std::size_t windows = 0;
};
UnitResults unit_results;

int32_t open_window(int32_t unit, std::string_view title, std::string_view access) {
  return recfmt::console_hooks().open_unit_window(unit, title, access);
}

TEST(UnitWindows, AccessValuesOpenSizedConsoles) {
  unit_results = UnitResults{};
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  script.when([] { return vozo_qt::env().end.ended(); },
              [&] {
                for (std::size_t i = 0; i < 3; ++i) dialogs.answers.push_back(vozo::Answer::no);
                frame()->command(vozo::IDM_EXIT);
              });
  vozo_qt::run_windowed([] {
    UnitResults& r = unit_results;
    r.opened.push_back(open_window(7, "Plot  ", "WINDOW,600,300"));
    r.opened.push_back(open_window(8, "Plain", "WINDOW,600,3x0"));
    r.opened.push_back(open_window(0, "None", "WINDOW,600,300"));
    recfmt::console_hooks().console_write("to seven\r\n", 10, recfmt::window_handle, 7);
    // The windows are the window thread's: looked at there, after the record arrived.
    vozo_qt::on_window_thread([&r] {
      const auto subs = frame()->children();
      r.windows = static_cast<std::size_t>(subs.size());
      r.sized = subs.size() > 1 ? subs[1]->size() : QSize();
      r.plain = subs.size() > 2 ? subs[2]->size() : QSize();
      if (subs.size() > 1) {
        r.unit_lines = harness::lines(qobject_cast<vozo_qt::ConsoleWindow*>(subs[1]->widget()));
      }
      if (subs.size() > 1 && subs[1]->windowTitle() != QStringLiteral("Plot")) r.windows = 99;
    });
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(unit_results.opened, (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(unit_results.windows, 3u);  // unit 0 registers but opens no window
  EXPECT_EQ(unit_results.sized, QSize(600, 300));
  EXPECT_NE(unit_results.plain, QSize(600, 300));
  EXPECT_EQ(unit_results.unit_lines, std::vector<std::string>{"to seven"});
}

TEST(UnitWindows, ARunCannotOpenMoreThan99WindowUnits) {
  unit_results = UnitResults{};
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  for (int i = 0; i < 110; ++i) dialogs.answers.push_back(vozo::Answer::no);
  script.when([] { return vozo_qt::env().end.ended(); }, [&] { frame()->command(vozo::IDM_EXIT); });
  vozo_qt::run_windowed([] {
    // Each window is closed again, so the window count never nears its limit; only
    // the table of units fills.
    for (int32_t unit = 10; unit < 110; ++unit) {
      unit_results.opened.push_back(open_window(unit, "w", "WINDOW"));
      vozo_qt::on_window_thread([] {
        const auto subs = frame()->children();
        if (subs.size() > 1) subs.back()->close();
      });
    }
    vozo_qt::on_window_thread(
        [] { unit_results.windows = static_cast<std::size_t>(frame()->children().size()); });
  });
  ASSERT_EQ(unit_results.opened.size(), 100u);
  for (std::size_t i = 0; i < 99; ++i) EXPECT_EQ(unit_results.opened[i], 0) << i;
  EXPECT_NE(unit_results.opened[99], 0);
  EXPECT_EQ(unit_results.windows, 1u);
  EXPECT_EQ(dialogs.warnings.size(), 1u);
  EXPECT_TRUE(dialogs.fatals.empty());
}

TEST(UnitWindows, TheHundredthOpenConsoleStopsTheProgram) {
  unit_results = UnitResults{};
  harness::ScriptedDialogs dialogs;
  const int32_t code = vozo_qt::run_windowed([] {
    // Through the record layer's OPEN, whose fatal error writes to the console.
    for (int32_t unit = 10; unit < 110; ++unit) {
      unit_results.opened.push_back(recfmt::open(unit, "w", "unknown", "WINDOW"));
    }
  });
  EXPECT_EQ(code, 0);
  // The default console and 98 unit windows make 99; the next one is fatal.
  EXPECT_EQ(unit_results.opened.size(), 98u);
  EXPECT_EQ(dialogs.fatals,
            std::vector<std::string>{"System Error|System Error found! \"Maximun window allowed "
                                     "to open is 100\", program stop"});
}

}  // namespace
