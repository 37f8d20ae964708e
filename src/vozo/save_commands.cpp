// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/save_commands.h"

#include <cerrno>
#include <cstring>

#include "vozo/console_document.h"
#include "vozo/text_file.h"

namespace vozo {

std::string SaveDirectory::directory() const {
  const size_t slash = last_path_.find_last_of('/');
  if (slash == std::string::npos) return {};
  return last_path_.substr(0, slash + 1);
}

std::string save_prompt_text(std::string_view title) {
  return "Save changes to " + std::string(title) + "?";
}

namespace {

// Writes the window's text to path. Only a complete save gives the window its file and
// title and clears the modified flag; a failed one leaves the window as it was, so
// that Save asks for a file again, Save stays enabled and Exit still asks.
bool write_console(ConsoleDocument& console, Dialogs& dialogs, const std::string& path,
                   const std::string& title) {
  const SaveResult result = save_text_file(path, console.store());
  switch (result) {
    case SaveResult::ok:
      if (!console.named() || console.file_name() != path) console.set_file(path, title);
      console.mark_saved();
      return true;
    case SaveResult::cannot_create:
    case SaveResult::write_error: {
      // The file and the system's reason, so that the user can choose another place.
      const int reason = errno;
      dialogs.warn(save_failure_text(result, path, reason));
      return false;
    }
  }
  return false;
}

// The text save dialog, started in the last directory with the default title. Gives
// the chosen path and the file's name.
bool choose_file(const ConsoleDocument& console, Dialogs& dialogs, SaveDirectory& directory,
                 std::string& path, std::string& title) {
  SaveDialogRequest request;
  request.default_title = console.default_title();
  request.default_path = directory.default_path(request.default_title);
  if (!dialogs.save_text_dialog(request) || request.path.empty()) return false;
  directory.remember(request.path);
  title = request.file_title;
  if (title.empty()) {
    const size_t slash = request.path.find_last_of('/');
    title = slash == std::string::npos ? request.path : request.path.substr(slash + 1);
  }
  path = request.path;
  return true;
}

}  // namespace

bool command_save(ConsoleDocument& console, Dialogs& dialogs, SaveDirectory& directory) {
  if (console.named()) return write_console(console, dialogs, console.file_name(), console.title());
  return command_save_as(console, dialogs, directory);
}

bool command_save_as(ConsoleDocument& console, Dialogs& dialogs, SaveDirectory& directory) {
  std::string path;
  std::string title;
  if (!choose_file(console, dialogs, directory, path, title)) return false;
  return write_console(console, dialogs, path, title);
}

CloseDecision ask_to_save(std::string_view title, Dialogs& dialogs,
                          const std::function<bool()>& save) {
  switch (dialogs.ask(save_prompt_text(title))) {
    case Answer::yes:
      // A save that did not happen (dialog cancelled, file not written) must not
      // throw the text away with the window.
      return save() ? CloseDecision::close : CloseDecision::keep;
    case Answer::no:
      return CloseDecision::close;
    case Answer::cancel:
      return CloseDecision::keep;
  }
  return CloseDecision::keep;
}

CloseDecision close_prompt(ConsoleDocument& console, Dialogs& dialogs, SaveDirectory& directory) {
  if (!console.modified()) return CloseDecision::close;
  return ask_to_save(console.title(), dialogs,
                     [&] { return command_save(console, dialogs, directory); });
}

}  // namespace vozo
