// SPDX-License-Identifier: GPL-3.0-or-later
// A text of the "Results" menu's computations (the bootstrap summary, the scan table) in a
// window of its own, in the console's fixed-width font so that its columns line up. The
// window is not modal: the figures and the consoles stay usable beside it.
#pragma once

#include <QString>
#include <string>

class QDialog;
class QWidget;

namespace results_qt {

QDialog* show_text_window(QWidget* parent, const QString& title, const std::string& text);

}  // namespace results_qt
