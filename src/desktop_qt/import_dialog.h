// SPDX-License-Identifier: GPL-3.0-or-later
// File > Import table...: a plane table or an EBSD grain table (CSV) converted to a data
// file by the same conversion as the terminal program's "convert". The EBSD conventions a
// table does not declare may be given here; nothing is guessed.
#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "import/convert.h"

class QMenu;
class QAction;
class QWidget;

namespace vozo_qt {
class Frame;
}

namespace desktop_qt {

struct ImportRequest {
  QString input;   // the CSV table
  QString output;  // the data file to write
  data_import::Options options;
};

// The dialog; the request, or nothing when cancelled. Browse opens in `folder`, which is
// updated to where a file was chosen.
std::optional<ImportRequest> ask_import(QWidget* parent, QString& folder);

// Converts as asked. The status bar says what was written where (and the rounding), or
// why nothing was; a failure is also shown in a warning. Whether the files were written.
bool import_table(vozo_qt::Frame& frame, const ImportRequest& request);

// Adds File > Import table... before `before` (at the end when nullptr). `ask` replaces
// the dialog (tests).
QAction* add_import_item(vozo_qt::Frame& frame, QMenu* file, QAction* before,
                         std::function<std::optional<ImportRequest>()> ask = {});

}  // namespace desktop_qt
