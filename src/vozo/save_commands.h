// SPDX-License-Identifier: GPL-3.0-or-later
// Save, Save As and the question asked when a console window closes.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>

#include "vozo/user_prompts.h"

namespace vozo {

class ConsoleDocument;

// The path of the last save dialog, shared by all windows so that the next dialog
// starts in the same directory.
class SaveDirectory {
 public:
  // Directory part of the last path, up to and including its last separator; empty
  // before the first save dialog.
  std::string directory() const;
  std::string default_path(std::string_view title) const {
    return directory() + std::string(title);
  }
  void remember(std::string path) { last_path_ = std::move(path); }

 private:
  std::string last_path_;
};

// "Save changes to <title>?"
std::string save_prompt_text(std::string_view title);

// Save: asks for a path unless the window has one, then writes. True when written.
// Only a written file gives the window its name and title.
bool command_save(ConsoleDocument& console, Dialogs& dialogs, SaveDirectory& directory);
// Save As: always asks. True when written.
bool command_save_as(ConsoleDocument& console, Dialogs& dialogs, SaveDirectory& directory);

enum class CloseDecision { close, keep };
// The question asked when a window with unsaved changes closes: Yes runs save (and
// keeps the window when the save did not happen), No closes, Cancel keeps.
CloseDecision ask_to_save(std::string_view title, Dialogs& dialogs,
                          const std::function<bool()>& save);
// Asked when a console window is about to close: nothing to ask when unmodified;
// Yes saves (and keeps the window when the save did not happen), No closes, Cancel
// keeps.
CloseDecision close_prompt(ConsoleDocument& console, Dialogs& dialogs, SaveDirectory& directory);

}  // namespace vozo
