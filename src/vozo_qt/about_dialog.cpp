// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/about_dialog.h"

#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "vozo/about.h"

namespace vozo_qt {

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromLatin1(vozo::about_caption));
  auto* layout = new QVBoxLayout(this);
  auto* heading = new QLabel(QString::fromLatin1(vozo::about_heading), this);
  heading->setAlignment(Qt::AlignHCenter);
  layout->addWidget(heading);

  const vozo::AboutFields fields = vozo::about_fields(vozo::read_system_facts());
  const std::pair<const char*, const std::string*> rows[] = {
      {"Page Size", &fields.page_size},
      {"Minimum Address", &fields.minimum_address},
      {"Maximum Address", &fields.maximum_address},
      {"Processor Type", &fields.processor_type},
      {"Number of Processors", &fields.processors},
  };
  auto* form = new QFormLayout();
  for (const auto& [label, value] : rows) {
    auto* field = new QLabel(QString::fromStdString(*value), this);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    form->addRow(QString::fromLatin1(label), field);
    values_.append(field);
  }
  layout->addLayout(form);

  // Continue, Enter and Escape all close the box.
  auto* button = new QPushButton(QStringLiteral("Continue"), this);
  button->setDefault(true);
  button->setAutoDefault(true);
  connect(button, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(button, 0, Qt::AlignHCenter);
}

}  // namespace vozo_qt
