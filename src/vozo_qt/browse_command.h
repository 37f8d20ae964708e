// SPDX-License-Identifier: GPL-3.0-or-later
// File > Browse...: the platform's file dialog answers the console's file question.
#pragma once

namespace vozo_qt {

// Enables the item while the default console waits for the answer to a file question,
// grays it otherwise. Called whenever the dialogue or the waiting read changes.
void update_browse_item();

// Opens the dialog in the working folder and types the chosen path into the default
// console as its answer, Return included.
void browse_for_answer();

}  // namespace vozo_qt
