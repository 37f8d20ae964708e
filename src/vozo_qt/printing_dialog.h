// SPDX-License-Identifier: GPL-3.0-or-later
// The small modeless box shown while printing: "Printing..." and a Cancel button that
// asks the printing loop to stop at its next line.
#pragma once

#include <QDialog>

namespace vozo_qt {

class PrintingDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit PrintingDialog(QWidget* parent = nullptr);
  bool cancelled() const { return cancelled_; }

 private:
  bool cancelled_ = false;
};

// Lets pending events run (the printing dialog's Cancel among them) between lines.
void let_events_run();

}  // namespace vozo_qt
