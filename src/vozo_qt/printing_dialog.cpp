// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/printing_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "vozo/user_prompts.h"

namespace vozo_qt {

PrintingDialog::PrintingDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QString::fromLatin1(vozo::message_caption.data(),
                                     static_cast<qsizetype>(vozo::message_caption.size())));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Printing..."), this), 0, Qt::AlignHCenter);
  auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  layout->addWidget(cancel, 0, Qt::AlignHCenter);
  connect(cancel, &QPushButton::clicked, this, [this] { cancelled_ = true; });
}

void let_events_run() {
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

}  // namespace vozo_qt
