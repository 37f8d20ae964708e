// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_qt/help_windows.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "desktop/help_texts.h"
#include "vozo_qt/dialog_provider.h"

namespace desktop_qt {

namespace {

std::string program_dir() {
  return QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace

QString guide_path() {
  const std::string found = desktop::find_guide(program_dir(), [](const std::string& p) {
    return QFileInfo(QString::fromStdString(p)).isFile();
  });
  return found.empty() ? QString() : QFileInfo(QString::fromStdString(found)).canonicalFilePath();
}

QDialog* show_user_guide(QWidget* parent) {
  const QString path = guide_path();
  if (path.isEmpty()) {
    std::string text = "The user guide is not installed; looked for";
    for (const std::string& p : desktop::guide_candidates(program_dir())) text += "\n" + p;
    vozo_qt::dialogs().warn(text);
    return nullptr;
  }
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setObjectName(QStringLiteral("user-guide"));
  dialog->setWindowTitle(QStringLiteral("Gemino User Guide"));
  auto* view = new QTextBrowser(dialog);
  // Links to the guide's other pages open here; links to the web in the user's browser.
  view->setOpenExternalLinks(true);
  view->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(view);
  layout->addWidget(buttons);
  dialog->resize(760, 600);
  dialog->show();
  return dialog;
}

QDialog* show_about_gemino(QWidget* parent) {
  auto* dialog = new QDialog(parent);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setObjectName(QStringLiteral("about-gemino"));
  dialog->setWindowTitle(QStringLiteral("About Gemino"));
  const QString text =
      QString::fromStdString(desktop::about_text(guide_path().toStdString(), program_dir()));
  auto* label = new QLabel(text, dialog);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setMinimumWidth(460);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  auto* layout = new QVBoxLayout(dialog);
  layout->addWidget(label);
  layout->addWidget(buttons);
  dialog->show();
  return dialog;
}

}  // namespace desktop_qt
