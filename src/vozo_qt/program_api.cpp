// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/program_api.h"

#include <QAction>
#include <QMenu>

#include "vozo/console_state.h"
#include "vozo_qt/console_hooks.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace vozo_qt {
namespace {

QString item_text(std::string_view text) {
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QMenu* menu_at(int32_t p) {
  if (env().frame == nullptr) return nullptr;
  const QList<QMenu*> menus = env().frame->menus();
  return p >= 1 && p <= menus.size() ? menus[p - 1] : nullptr;
}

QAction* item_at(int32_t p, int32_t q) {
  QMenu* menu = menu_at(p);
  if (menu == nullptr) return nullptr;
  const QList<QAction*> actions = menu->actions();
  return q >= 1 && q <= actions.size() ? actions[q - 1] : nullptr;
}

void apply_flags(QAction* action, uint32_t flags) {
  if (flags & MF_CHECKED) {
    action->setCheckable(true);
    action->setChecked(true);
  }
  action->setEnabled((flags & (MF_GRAYED | MF_DISABLED)) == 0);
}

// A new program item before `before` (nullptr: at the end).
bool new_item(QMenu* menu, QAction* before, uint32_t flags, std::string_view text,
              vozo::MenuCallback callback) {
  if (menu == nullptr) return false;
  if (flags & MF_SEPARATOR) {
    menu->insertSeparator(before);
    return true;
  }
  const int32_t id = env().user_menu.add(callback);
  if (id == 0) return false;
  auto* action = new QAction(item_text(text), menu);
  apply_flags(action, flags);
  menu->insertAction(before, action);
  env().frame->register_action(id, action);
  return true;
}

}  // namespace

bool AddMenuItem(int32_t p, uint32_t flags, std::string_view text, vozo::MenuCallback callback) {
  bool added = false;
  on_window_thread([&] { added = new_item(menu_at(p), nullptr, flags, text, callback); });
  return added;
}

namespace {

bool insert_menu_entry(int32_t p, int32_t q, uint32_t flags, std::string_view text,
                       vozo::MenuCallback callback) {
  if (env().frame == nullptr) return false;
  if (q == 0) {
    env().frame->insert_menu(p, item_text(text));
    return true;
  }
  QMenu* menu = menu_at(p);
  if (menu == nullptr) return false;
  QAction* before = nullptr;
  if (flags & MF_BYPOSITION) {
    const QList<QAction*> actions = menu->actions();
    if (q - 1 < actions.size()) before = actions[q - 1];
  } else {
    before = env().frame->action(q);
  }
  return new_item(menu, before, flags & ~MF_BYPOSITION, text, callback);
}

}  // namespace

bool InsertMenuEntry(int32_t p, int32_t q, uint32_t flags, std::string_view text,
                     vozo::MenuCallback callback) {
  bool inserted = false;
  on_window_thread([&] { inserted = insert_menu_entry(p, q, flags, text, callback); });
  return inserted;
}

void CheckMenuItemAt(int32_t p, int32_t q, uint32_t flags) {
  on_window_thread([&] {
    if (QAction* a = item_at(p, q)) {
      a->setCheckable(true);
      a->setChecked((flags & MF_CHECKED) != 0);
    }
  });
}

void EnableMenuItemAt(int32_t p, int32_t q, uint32_t flags) {
  on_window_thread([&] {
    if (QAction* a = item_at(p, q)) a->setEnabled((flags & (MF_GRAYED | MF_DISABLED)) == 0);
  });
}

void DeleteMenuItemAt(int32_t p, int32_t q) {
  on_window_thread([&] {
    // The action stays owned by the menu: a program id keeps pointing at a live object.
    if (QAction* a = item_at(p, q)) menu_at(p)->removeAction(a);
  });
}

int32_t StartTimer(int32_t id, int32_t interval_ms, vozo::TimerCallback callback) {
  int32_t started = 0;
  on_window_thread([&] {
    if (env().frame != nullptr) started = env().timers.start(id, interval_ms, callback) ? 1 : 0;
  });
  return started;
}

void StopTimer(int32_t id) {
  on_window_thread([&] { env().timers.stop(id); });
}

void ClearConsole(int32_t unit_id) {
  const auto clear = [unit_id] {
    vozo::ConsoleState* window =
        unit_id > 0 ? env().units.lookup(unit_id) : env().units.lookup(vozo::default_console_unit);
    if (window != nullptr) window->clear();
  };
  // In order with the records written before.
  if (env().bridge != nullptr) {
    env().bridge->post(clear);
  } else {
    clear();
  }
  PumpMessages();
}

}  // namespace vozo_qt
