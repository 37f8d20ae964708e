// SPDX-License-Identifier: GPL-3.0-or-later
// File > Browse...: while the program waits for the answer to a file question, the
// user picks the file in the platform's dialog instead of typing its path; the path is
// then typed in as the answer, relative to the working folder when it lies inside it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "vozo/dialogue_watch.h"
#include "vozo/user_prompts.h"

namespace vozo {

// Browse can be chosen while a file question is the one asked and its console waits
// for the answer.
bool browse_available(FileQuestion question, bool reading);

// The answer typed for a chosen path: relative to folder when the file lies inside it
// (through symbolic links too), the path as chosen otherwise. Nothing when the path
// cannot be one answer line (it holds a line end).
std::optional<std::string> browse_answer(std::string_view chosen, std::string_view folder);

// The whole command: the open dialog for a file to read, the save dialog (with its
// overwrite question) for the report, opened in folder. Nothing when the user
// cancelled or the path cannot be typed (the user is told why).
std::optional<std::string> run_browse(FileQuestion question, std::string_view folder,
                                      Dialogs& dialogs);

}  // namespace vozo
