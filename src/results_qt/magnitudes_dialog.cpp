// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_qt/magnitudes_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "results/magnitudes_text.h"
#include "results_qt/results_menu.h"

namespace results_qt {

void show_magnitudes_dialog(QWidget* parent, const results::Result& r) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Stress magnitudes"));
  auto* crss = new QDoubleSpinBox(&dialog);
  crss->setRange(0.1, 10000.0);
  crss->setDecimals(1);
  crss->setSuffix(QStringLiteral(" MPa"));
  crss->setValue(chosen_crss());
  auto* text = new QLabel(&dialog);
  text->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto update = [&r, text](double value) {
    choose_crss(value);
    text->setText(
        QString::fromStdString(results::magnitudes_text(r, results::stress_magnitudes(r, value))));
  };
  update(crss->value());
  QObject::connect(crss, &QDoubleSpinBox::valueChanged, &dialog, update);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Critical resolved shear stress:"), crss);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(text);
  layout->addWidget(buttons);
  dialog.exec();
}

}  // namespace results_qt
