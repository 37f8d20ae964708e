// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/dialog_provider.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "vozo_qt/about_dialog.h"

#include "vozo/user_prompts.h"

namespace vozo_qt {
namespace {

QString text_of(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QWidget* owner() {
  return QApplication::activeWindow();
}

class ModalDialogs final : public DialogProvider {
 public:
  vozo::Answer ask(std::string_view text) override {
    QMessageBox box(QMessageBox::Question, text_of(vozo::message_caption), text_of(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner());
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
      case QMessageBox::Yes:
        return vozo::Answer::yes;
      case QMessageBox::No:
        return vozo::Answer::no;
      default:
        return vozo::Answer::cancel;
    }
  }

  bool save_text_dialog(vozo::SaveDialogRequest& request) override {
    return save_dialog(request, text_of(request.default_title),
                       QStringLiteral("Text Files (*.txt)"), QStringLiteral("txt"));
  }

  bool save_bitmap_dialog(vozo::SaveDialogRequest& request) override {
    return save_dialog(request, QString(), QStringLiteral("BitMap Files (*.bmp)"),
                       QStringLiteral("bmp"));
  }

  static bool save_dialog(vozo::SaveDialogRequest& request, const QString& caption,
                          const QString& filter, const QString& suffix) {
    QFileDialog dialog(owner(), caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    const QFileInfo start(QString::fromStdString(request.default_path));
    if (start.dir().exists() && !request.default_path.empty() &&
        request.default_path.find('/') != std::string::npos) {
      dialog.setDirectory(start.dir());
    }
    dialog.selectFile(start.fileName());
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return false;
    request.path = files.first().toStdString();
    request.file_title = QFileInfo(files.first()).fileName().toStdString();
    return true;
  }

  bool file_dialog(vozo::BrowseRequest& request) override {
    QFileDialog dialog(owner(),
                       request.save ? QStringLiteral("Report File") : QStringLiteral("Open File"));
    dialog.setDirectory(QString::fromStdString(request.directory));
    dialog.setNameFilters({QStringLiteral("All Files (*)"), QStringLiteral("Text Files (*.txt)")});
    if (request.save) {
      dialog.setAcceptMode(QFileDialog::AcceptSave);
      dialog.setFileMode(QFileDialog::AnyFile);
      dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    } else {
      dialog.setAcceptMode(QFileDialog::AcceptOpen);
      dialog.setFileMode(QFileDialog::ExistingFile);
    }
    if (dialog.exec() != QDialog::Accepted) return false;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return false;
    request.path = files.first().toStdString();
    return true;
  }

  void warn(std::string_view text) override {
    QMessageBox box(QMessageBox::Warning, text_of(vozo::message_caption), text_of(text),
                    QMessageBox::Ok, owner());
    box.exec();
  }

  void fatal(std::string_view caption, std::string_view text) override {
    QMessageBox box(QMessageBox::Critical, text_of(caption), text_of(text), QMessageBox::Ok);
    box.exec();
  }

  bool choose_font(QFont& font) override {
    bool ok = false;
    const QFont chosen =
        QFontDialog::getFont(&ok, font, nullptr, QString(), QFontDialog::MonospacedFonts);
    if (ok) font = chosen;
    return ok;
  }

  bool choose_color(QColor& color) override {
    const QColor chosen = QColorDialog::getColor(color, nullptr);
    if (!chosen.isValid()) return false;
    color = chosen;
    return true;
  }

  void about() override {
    AboutDialog box(owner());
    box.exec();
  }

  bool print_setup(QPrinter& printer) override {
    QPrintDialog dialog(&printer, owner());
    dialog.setMinMax(1, 32767);
    dialog.setFromTo(1, 1);
    dialog.setOptions(QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintToFile);
    return dialog.exec() == QDialog::Accepted;
  }
};

ModalDialogs modal_dialogs;
DialogProvider* current = &modal_dialogs;

}  // namespace

DialogProvider& dialogs() {
  return *current;
}

void set_dialogs(DialogProvider* provider) {
  current = provider ? provider : &modal_dialogs;
}

}  // namespace vozo_qt
