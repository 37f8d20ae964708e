// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_qt/text_window.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

namespace results_qt {

QDialog* show_text_window(QWidget* parent, const QString& title, const std::string& text) {
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(title);
  auto* view = new QPlainTextEdit(QString::fromStdString(text), dialog);
  view->setReadOnly(true);
  view->setLineWrapMode(QPlainTextEdit::NoWrap);
  view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // Wide and tall enough for the whole text when the screen allows.
  const QFontMetrics metrics(view->font());
  int columns = 0;
  const QStringList lines = view->toPlainText().split(QLatin1Char('\n'));
  for (const QString& line : lines) columns = std::max(columns, static_cast<int>(line.size()));
  // The frame, the margins and a scroll bar beside the characters.
  const int chrome = 2 * view->frameWidth() +
                     2 * static_cast<int>(view->document()->documentMargin()) +
                     view->verticalScrollBar()->sizeHint().width();
  view->setMinimumSize(
      std::min(1000, metrics.horizontalAdvance(QLatin1Char('0')) * (columns + 1) + chrome),
      std::min(600, metrics.lineSpacing() * (static_cast<int>(lines.size()) + 1) + chrome));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(view);
  layout->addWidget(buttons);
  dialog->show();
  return dialog;
}

}  // namespace results_qt
