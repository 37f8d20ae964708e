// SPDX-License-Identifier: GPL-3.0-or-later
// The About box: the framework's name and five facts about the machine, read afresh
// each time the box opens.
#pragma once

#include <QDialog>

class QLabel;

namespace vozo_qt {

class AboutDialog final : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
  // The value fields in the box's order: page size, minimum and maximum address,
  // processor type, number of processors.
  QList<QLabel*> value_labels() const { return values_; }

 private:
  QList<QLabel*> values_;
};

}  // namespace vozo_qt
