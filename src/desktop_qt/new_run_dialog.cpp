// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_qt/new_run_dialog.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace desktop_qt {

namespace {

QString text_of(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

std::optional<desktop::RunRequest> ask_run_request(QWidget* parent, const desktop::RunRequest& last,
                                                   const std::string& base,
                                                   std::string& last_folder,
                                                   const std::vector<desktop::RunFiles>& recent) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("New run"));
  dialog.setMinimumWidth(520);
  // Browse opens where the last file was chosen in the session.
  QString folder = text_of(last_folder.empty() ? base : last_folder);

  auto* parameters = new QLineEdit(text_of(last.parameter_file), &dialog);
  auto* data = new QLineEdit(text_of(last.data_file), &dialog);
  auto* report = new QLineEdit(text_of(last.report_file), &dialog);
  auto row = [&](QLineEdit* edit, bool save) {
    auto* browse = new QPushButton(QStringLiteral("Browse..."), &dialog);
    QObject::connect(browse, &QPushButton::clicked, &dialog, [&dialog, edit, save, &folder] {
      const QString path =
          save ? QFileDialog::getSaveFileName(&dialog, QStringLiteral("Report file"), folder)
               : QFileDialog::getOpenFileName(&dialog, QStringLiteral("Open"), folder);
      if (path.isEmpty()) return;
      folder = QFileInfo(path).absolutePath();
      edit->setText(path);
    });
    auto* line = new QHBoxLayout;
    line->addWidget(edit, 1);
    line->addWidget(browse);
    return line;
  };
  auto* crss = new QDoubleSpinBox(&dialog);
  crss->setRange(0.1, 10000.0);
  crss->setDecimals(1);
  crss->setSuffix(QStringLiteral(" MPa"));
  crss->setValue(last.crss_mpa);
  auto* after = new QComboBox(&dialog);
  after->addItems({QStringLiteral("Nothing more"), QStringLiteral("Confidence (bootstrap)"),
                   QStringLiteral("Twin-percent scan")});
  after->setCurrentIndex(static_cast<int>(last.after));
  auto* resamples = new QSpinBox(&dialog);
  resamples->setRange(1, 1000000);
  resamples->setValue(last.resamples);

  auto* form = new QFormLayout;
  if (!recent.empty()) {
    // Choosing a recent run fills the three names; the rest stays as it is.
    auto* runs = new QComboBox(&dialog);
    runs->addItem(QStringLiteral("(choose to fill the names below)"));
    for (const desktop::RunFiles& r : recent) {
      runs->addItem(text_of(r.params + "  \u2014  " + r.data + "  \u2014  " + r.report));
    }
    QObject::connect(runs, &QComboBox::activated, &dialog,
                     [&recent, parameters, data, report](int index) {
                       if (index < 1 || index > static_cast<int>(recent.size())) return;
                       const desktop::RunFiles& r = recent[static_cast<std::size_t>(index - 1)];
                       parameters->setText(text_of(r.params));
                       data->setText(text_of(r.data));
                       report->setText(text_of(r.report));
                     });
    form->addRow(QStringLiteral("R&ecent runs:"), runs);
  }
  // Rows of an edit and its Browse: the label's key goes to the edit.
  auto labelled = [&dialog](const QString& text, QLineEdit* edit) {
    auto* label = new QLabel(text, &dialog);
    label->setBuddy(edit);
    return label;
  };
  form->addRow(labelled(QStringLiteral("&Parameter file:"), parameters), row(parameters, false));
  form->addRow(labelled(QStringLiteral("&Data file:"), data), row(data, false));
  form->addRow(labelled(QStringLiteral("&Report file:"), report), row(report, true));
  form->addRow(QStringLiteral("&CRSS:"), crss);
  form->addRow(QStringLiteral("&After the run:"), after);
  form->addRow(QStringLiteral("Bootstrap re&samples:"), resamples);
  auto* note = new QLabel(
      QStringLiteral("Relative names are taken in the parameter file's folder."), &dialog);
  auto* problem = new QLabel(&dialog);
  problem->setStyleSheet(QStringLiteral("color: #a00000"));
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("Run"));
  // The typed fields first: a keyboard user goes name, name, name.
  QWidget::setTabOrder(parameters, data);
  QWidget::setTabOrder(data, report);
  QWidget::setTabOrder(report, crss);

  desktop::RunRequest request = last;
  auto take = [&] {
    request.parameter_file = parameters->text().trimmed().toStdString();
    request.data_file = data->text().trimmed().toStdString();
    request.report_file = report->text().trimmed().toStdString();
    request.crss_mpa = crss->value();
    request.after = static_cast<desktop::After>(after->currentIndex());
    request.resamples = resamples->value();
  };
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, [&] {
    take();
    const std::string why = desktop::request_problem(request, base);
    problem->setText(text_of(why));
    if (why.empty()) dialog.accept();
  });
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(note);
  layout->addWidget(problem);
  layout->addWidget(buttons);
  parameters->setFocus();
  const int answer = dialog.exec();
  last_folder = folder.toStdString();
  if (answer != QDialog::Accepted) return std::nullopt;
  return request;
}

}  // namespace desktop_qt
