// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_qt/text_window.h"

#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>

#include "vozo/user_prompts.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace results_qt {

namespace {

void show_status(const std::string& text) {
  if (vozo_qt::Frame* frame = vozo_qt::env().frame) {
    frame->show_status(QString::fromStdString(text));
  }
}

// Asks where, through the program's save dialog, then writes the text as it was made.
void save_text(const TextSave& save, const std::string& text) {
  vozo::SaveDialogRequest request;
  request.default_title = save.file_name;
  request.default_path = vozo_qt::env().save_directory.default_path(save.file_name);
  if (!vozo_qt::dialogs().save_text_dialog(request) || request.path.empty()) return;
  vozo_qt::env().save_directory.remember(request.path);
  show_outcome(write_output(save.run_files, save.what, request.path, text));
}

}  // namespace

bool show_outcome(const Outcome& outcome) {
  show_status(outcome.message);
  if (!outcome.written) vozo_qt::dialogs().warn(outcome.message);
  return outcome.written;
}

QDialog* show_text_window(QWidget* parent, const QString& title, const std::string& text,
                          TextSave save) {
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
  QPushButton* save_button =
      buttons->addButton(QStringLiteral("&Save..."), QDialogButtonBox::ActionRole);
  save_button->setObjectName(QStringLiteral("save"));
  QObject::connect(save_button, &QPushButton::clicked, dialog,
                   [save = std::move(save), text] { save_text(save, text); });
  QPushButton* copy_button =
      buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
  copy_button->setObjectName(QStringLiteral("copy"));
  QObject::connect(copy_button, &QPushButton::clicked, dialog, [text, title] {
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
    show_status(title.toStdString() + " copied to the clipboard");
  });
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(view);
  layout->addWidget(buttons);
  dialog->show();
  return dialog;
}

}  // namespace results_qt
