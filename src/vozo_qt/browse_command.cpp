// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/browse_command.h"

#include <QDir>
#include <optional>
#include <string>

#include "vozo/file_browse.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace vozo_qt {
namespace {

// The dialogue's questions are asked in the default console, unit -1.
ConsoleWindow* asking_console() {
  ConsoleWindow* window = console_of(-1);
  return window != nullptr && window->reading() ? window : nullptr;
}

bool available() {
  return vozo::browse_available(env().dialogue.question(), asking_console() != nullptr);
}

}  // namespace

void update_browse_item() {
  if (env().frame != nullptr) env().frame->set_item_enabled(vozo::IDM_BROWSE, available());
}

void browse_for_answer() {
  if (!available()) return;
  const std::optional<std::string> answer =
      vozo::run_browse(env().dialogue.question(), QDir::currentPath().toStdString(), dialogs());
  // The dialog is modal, but the read may have ended while it was open (Exit chosen
  // from another window's shortcut, the console closed).
  ConsoleWindow* window = asking_console();
  if (window == nullptr) return;
  // Typing goes on in the console; without a window manager to hand it back, the focus
  // would stay with the closed dialog.
  if (env().frame != nullptr) env().frame->activateWindow();
  window->setFocus(Qt::OtherFocusReason);
  if (answer) window->enter_line(*answer);
}

}  // namespace vozo_qt
