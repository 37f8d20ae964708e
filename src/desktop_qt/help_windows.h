// SPDX-License-Identifier: GPL-3.0-or-later
// Help > User guide (the guide bundled with the program, rendered from its Markdown) and
// Help > About Gemino.
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace desktop_qt {

// The guide's path, found beside the program or in its installed documentation; empty
// when it is in neither place.
QString guide_path();

// Opens the guide in a window of its own (not modal); without a guide, says where it was
// looked for. Returns the window, or nullptr when there was no guide.
QDialog* show_user_guide(QWidget* parent);

// The About box: name, version, licence, how to cite, where the guide is.
QDialog* show_about_gemino(QWidget* parent);

}  // namespace desktop_qt
