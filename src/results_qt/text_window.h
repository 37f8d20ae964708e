// SPDX-License-Identifier: GPL-3.0-or-later
// A text of the "Results" menu's computations (the bootstrap summary, the scan table) in a
// window of its own, in the console's fixed-width font so that its columns line up. The
// window is not modal: the figures and the consoles stay usable beside it. Save... writes
// the text to a file (never over one of the run's own files) and Copy puts it on the
// clipboard; the status bar says which was done, or why nothing was.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "results_qt/run_exports.h"

class QDialog;
class QWidget;

namespace results_qt {

// What Save... offers and guards: the name first proposed, what the text is called in the
// status bar ("Bootstrap summary"), and the run's own files.
struct TextSave {
  std::string file_name;
  std::string what;
  std::vector<std::string> run_files;
};

QDialog* show_text_window(QWidget* parent, const QString& title, const std::string& text,
                          TextSave save);

// Shows an outcome in the status bar, and a failure in a warning box as well; true when
// the file was written.
bool show_outcome(const Outcome& outcome);

}  // namespace results_qt
