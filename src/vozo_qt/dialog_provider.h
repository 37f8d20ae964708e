// SPDX-License-Identifier: GPL-3.0-or-later
// Every modal question the window environment asks goes through one provider, so that
// tests can answer message boxes and file dialogs without running a modal loop.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include "vozo/user_prompts.h"

class QPrinter;

namespace vozo_qt {

class DialogProvider : public vozo::Dialogs {
 public:
  // A fatal error box with the stop icon ("System Error", "Window Handler Error").
  virtual void fatal(std::string_view caption, std::string_view text) = 0;
  // Font and colour choosers: true when confirmed, the value updated in place.
  virtual bool choose_font(QFont& font) = 0;
  virtual bool choose_color(QColor& color) = 0;
  // The About box, modal.
  virtual void about() = 0;
  // The print dialog: pages 1 to 32,767, copies, collate. True when the user chose to
  // print; the printer then carries the choices.
  virtual bool print_setup(QPrinter& printer) = 0;
};

// The provider in use: the real modal dialogs unless a test installed its own.
DialogProvider& dialogs();
// Installs a provider (not owned); nullptr restores the real dialogs.
void set_dialogs(DialogProvider* provider);

}  // namespace vozo_qt
