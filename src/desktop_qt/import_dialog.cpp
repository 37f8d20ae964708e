// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_qt/import_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/mdi_frame.h"

namespace desktop_qt {

namespace {

// The data file beside the table, named after it.
QString data_name_for(const QString& table) {
  const QFileInfo info(table);
  return info.dir().filePath(info.completeBaseName() + QStringLiteral(".txt"));
}

// A choice of the conventions' values, the first being "as the table declares".
QComboBox* choice(QWidget* parent, const QStringList& values) {
  auto* box = new QComboBox(parent);
  box->addItem(QStringLiteral("as the table declares"), QString());
  for (const QString& v : values) box->addItem(v, v);
  return box;
}

}  // namespace

std::optional<ImportRequest> ask_import(QWidget* parent, QString& folder) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("Import table"));
  dialog.setMinimumWidth(520);
  auto* input = new QLineEdit(&dialog);
  auto* output = new QLineEdit(&dialog);
  auto browse_row = [&](QLineEdit* edit, bool save) {
    auto* browse = new QPushButton(QStringLiteral("Browse..."), &dialog);
    QObject::connect(
        browse, &QPushButton::clicked, &dialog, [&dialog, edit, save, &folder, input, output] {
          const QString path = save ? QFileDialog::getSaveFileName(
                                          &dialog, QStringLiteral("Data file"), folder,
                                          QStringLiteral("Data files (*.txt);;All files (*)"))
                                    : QFileDialog::getOpenFileName(
                                          &dialog, QStringLiteral("Table"), folder,
                                          QStringLiteral("CSV tables (*.csv);;All files (*)"));
          if (path.isEmpty()) return;
          folder = QFileInfo(path).absolutePath();
          edit->setText(path);
          if (edit == input && output->text().isEmpty()) output->setText(data_name_for(path));
        });
    auto* line = new QHBoxLayout;
    line->addWidget(edit, 1);
    line->addWidget(browse);
    return line;
  };
  QComboBox* euler =
      choice(&dialog, {QStringLiteral("bunge-passive"), QStringLiteral("bunge-active")});
  QComboBox* frame = choice(&dialog, {QStringLiteral("x=a"), QStringLiteral("x=a*")});
  auto* rotation = new QLineEdit(&dialog);
  rotation->setPlaceholderText(QStringLiteral("as the table declares (PHI1 PHI PHI2, degrees)"));
  auto* split =
      new QCheckBox(QStringLiteral("Several data files when one cannot hold the table"), &dialog);
  auto* problem = new QLabel(&dialog);
  problem->setWordWrap(true);

  auto* form = new QFormLayout;
  // A row of an edit and its Browse: the label's key goes to the edit.
  auto labelled = [&dialog](const QString& text, QLineEdit* edit) {
    auto* label = new QLabel(text, &dialog);
    label->setBuddy(edit);
    return label;
  };
  form->addRow(labelled(QStringLiteral("&Table (CSV):"), input), browse_row(input, false));
  form->addRow(labelled(QStringLiteral("&Data file:"), output), browse_row(output, true));
  form->addRow(new QLabel(QStringLiteral("EBSD grain tables only:"), &dialog));
  form->addRow(QStringLiteral("&Euler angles:"), euler);
  form->addRow(QStringLiteral("&Crystal frame:"), frame);
  form->addRow(QStringLiteral("&Specimen to geographic:"), rotation);
  form->addRow(split);
  // The data file named after a table typed in, as after one chosen with Browse.
  QObject::connect(input, &QLineEdit::editingFinished, &dialog, [input, output] {
    if (output->text().isEmpty() && !input->text().trimmed().isEmpty()) {
      output->setText(data_name_for(input->text().trimmed()));
    }
  });
  QWidget::setTabOrder(input, output);
  QWidget::setTabOrder(output, euler);
  QWidget::setTabOrder(euler, frame);
  QWidget::setTabOrder(frame, rotation);
  QWidget::setTabOrder(rotation, split);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Import"));
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(problem);
  layout->addWidget(buttons);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    if (input->text().trimmed().isEmpty() || output->text().trimmed().isEmpty()) {
      problem->setText(QStringLiteral("Name the table and the data file to write."));
      return;
    }
    dialog.accept();
  });
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  ImportRequest request;
  request.input = input->text().trimmed();
  request.output = output->text().trimmed();
  request.options.split = split->isChecked();
  request.options.declarations.euler = euler->currentData().toString().toStdString();
  request.options.declarations.crystal_frame = frame->currentData().toString().toStdString();
  request.options.declarations.specimen_to_geographic = rotation->text().trimmed().toStdString();
  return request;
}

bool import_table(vozo_qt::Frame& frame, const ImportRequest& request) {
  const data_import::Outcome outcome = data_import::convert_file(
      request.input.toStdString(), request.output.toStdString(), request.options);
  if (!outcome.ok()) {
    const QString why =
        QStringLiteral("Import: nothing written: ") + QString::fromStdString(outcome.error);
    frame.show_status(why);
    vozo_qt::dialogs().warn(why.toStdString());
    return false;
  }
  // The conversion's own lines: what was read, the files written, the rounding.
  QString said = QString::fromStdString(outcome.conversion->summary()).trimmed();
  said.replace(QLatin1Char('\n'), QStringLiteral("; "));
  frame.show_status(QStringLiteral("Import: ") + said);
  return true;
}

QAction* add_import_item(vozo_qt::Frame& frame, QMenu* file, QAction* before,
                         std::function<std::optional<ImportRequest>()> ask) {
  auto* action = new QAction(QStringLiteral("&Import table..."), &frame);
  action->setStatusTip(
      QStringLiteral("Convert a plane table or an EBSD grain table (CSV) to a data file"));
  // Browse opens where the last table was chosen in the session.
  auto folder = std::make_shared<QString>(QDir::currentPath());
  QObject::connect(action, &QAction::triggered, &frame, [&frame, ask, folder] {
    const std::optional<ImportRequest> request = ask ? ask() : ask_import(&frame, *folder);
    if (request) import_table(frame, *request);
  });
  if (file != nullptr) file->insertAction(before, action);
  return action;
}

}  // namespace desktop_qt
