// SPDX-License-Identifier: GPL-3.0-or-later
// What the framework offers a program: its own menu items, timers, clearing a console.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>

#include "harness.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/application.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"
#include "vozo_qt/program_api.h"

using harness::frame;

namespace {

struct ApiSeen {
  std::vector<int32_t> checked_states;
  int ticks = 0;
  int32_t last_timer = -1;
  QStringList file_items;
  bool grayed = false;
  std::vector<std::string> lines_after_clear;
};
ApiSeen api;

void on_item(int32_t& checked) {
  api.checked_states.push_back(checked);
}
void on_tick() {
  if (++api.ticks == 3) vozo_qt::StopTimer(7);
}
void noop() {}

TEST(ProgramApi, MenuItemsTimersAndClearing) {
  api = ApiSeen{};
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  script.when([] { return vozo_qt::env().end.ended(); },
              [&] {
                QMenu* file = frame()->menus()[0];
                for (QAction* a : file->actions()) api.file_items.append(a->text());
                // The program's item runs its callback with the item's checked state.
                frame()->action(vozo::first_user_menu_id)->trigger();
                vozo_qt::CheckMenuItemAt(1, 12, vozo_qt::MF_CHECKED);
                frame()->action(vozo::first_user_menu_id)->trigger();
                vozo_qt::EnableMenuItemAt(1, 12, vozo_qt::MF_GRAYED);
                api.grayed = !frame()->action(vozo::first_user_menu_id)->isEnabled();
              });
  script.when([] { return api.ticks >= 3; },
              [&] {
                QTest::qWait(200);  // stopped: no further ticks
                dialogs.answers.push_back(vozo::Answer::no);
                frame()->command(vozo::IDM_EXIT);
              });
  vozo_qt::run_windowed([] {
    vozo_qt::AddMenuItem(1, vozo_qt::MF_SEPARATOR, "", nullptr);
    vozo_qt::AddMenuItem(1, 0, "Redraw   ", on_item);
    harness::write("gone\r\n");
    vozo_qt::ClearConsole(0);
    harness::write("kept\r\n");
    api.lines_after_clear = harness::lines(harness::console());
    // 100 slots: 99 timers and timer 7 fill them, the next is refused (before timer 7
    // has ticked three times and freed its slot).
    for (int32_t id = 100; id < 199; ++id) vozo_qt::StartTimer(id, 100000, noop);
    vozo_qt::StartTimer(7, 50, on_tick);
    api.last_timer = vozo_qt::StartTimer(500, 10, noop);
  });
  EXPECT_FALSE(script.timed_out());
  ASSERT_EQ(api.file_items.size(), 12);
  EXPECT_TRUE(api.file_items[10].isEmpty());
  EXPECT_EQ(api.file_items[11], QStringLiteral("Redraw"));
  EXPECT_EQ(api.checked_states, (std::vector<int32_t>{0, 1}));
  EXPECT_TRUE(api.grayed);
  EXPECT_EQ(api.ticks, 3);
  EXPECT_EQ(api.last_timer, 0);
  EXPECT_EQ(api.lines_after_clear, std::vector<std::string>{"kept"});
}

QStringList texts(QMenu* menu) {
  QStringList list;
  for (QAction* a : menu->actions()) list.append(a->text());
  return list;
}

TEST(ProgramApi, MenusInsertedAndItemsRemoved) {
  api = ApiSeen{};
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  QStringList bar, results, file_tail;
  script.when([] { return vozo_qt::env().end.ended(); },
              [&] {
                for (QMenu* m : frame()->menus())
                  bar.append(QString(m->title()).remove(QLatin1Char('&')));
                results = texts(frame()->menus()[3]);
                file_tail = texts(frame()->menus()[0]).mid(7);
                // The inserted item runs its callback like an appended one.
                for (QAction* a : frame()->menus()[3]->actions()) a->trigger();
                dialogs.answers.push_back(vozo::Answer::no);
                frame()->command(vozo::IDM_EXIT);
              });
  vozo_qt::run_windowed([] {
    // A menu before the Window menu (position 3 counted from 0), then items in it.
    vozo_qt::InsertMenuEntry(3, 0, 0, "Results", nullptr);
    vozo_qt::AddMenuItem(4, 0, "Stereonet", on_item);
    vozo_qt::AddMenuItem(4, 0, "Grains", on_item);
    vozo_qt::InsertMenuEntry(4, 1, vozo_qt::MF_BYPOSITION, "Summary", on_item);
    vozo_qt::DeleteMenuItemAt(4, 2);
    // By command id: before Exit in the File menu.
    vozo_qt::InsertMenuEntry(1, vozo::IDM_EXIT, 0, "Report", on_item);
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(bar, (QStringList{"File", "Edit", "Format", "Results", "Window"}));
  EXPECT_EQ(results, (QStringList{"Summary", "Grains"}));
  EXPECT_EQ(file_tail, (QStringList{"Abou&t...", "", "Report", "E&xit"}));
  EXPECT_EQ(api.checked_states, (std::vector<int32_t>{0, 0}));
}

}  // namespace
