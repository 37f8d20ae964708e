// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_qt/report_view.h"

#include "results_qt/run_results.h"

#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "desktop/report_text.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace desktop_qt {

ReportView::ReportView(const QString& path, QWidget* parent) : QWidget(parent), path_(path) {
  setObjectName(QStringLiteral("report-view"));
  view_ = new QPlainTextEdit(this);
  view_->setReadOnly(true);
  view_->setLineWrapMode(QPlainTextEdit::NoWrap);
  view_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  auto* reload_button = new QPushButton(QStringLiteral("&Reload"), this);
  reload_button->setToolTip(QStringLiteral("Reads the report file again"));
  where_ = new QLabel(path_, this);
  where_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* bar = new QHBoxLayout();
  bar->addWidget(reload_button);
  bar->addWidget(where_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(bar);
  layout->addWidget(view_);
  connect(reload_button, &QPushButton::clicked, this, [this] {
    const std::string error = reload();
    if (vozo_qt::Frame* frame = vozo_qt::env().frame) {
      frame->show_status(error.empty() ? QStringLiteral("Report reloaded from %1").arg(path_)
                                       : QString::fromStdString(error));
    }
  });
}

QString ReportView::text() const {
  return view_->toPlainText();
}

std::string ReportView::reload() {
  const desktop::ReportText report = desktop::load_report(path_.toStdString());
  if (!report.error.empty()) return report.error;
  const int vertical = view_->verticalScrollBar()->value();
  const int horizontal = view_->horizontalScrollBar()->value();
  view_->setPlainText(QString::fromStdString(report.text));
  view_->verticalScrollBar()->setValue(vertical);
  view_->horizontalScrollBar()->setValue(horizontal);
  return {};
}

QMdiSubWindow* view_report(const QString& path) {
  vozo_qt::Frame* frame = vozo_qt::env().frame;
  if (frame == nullptr) return nullptr;
  const QString absolute = QFileInfo(path).absoluteFilePath();
  for (QMdiSubWindow* sub : frame->children()) {
    auto* shown = qobject_cast<ReportView*>(sub->widget());
    if (shown == nullptr || shown->path() != absolute) continue;
    const std::string error = shown->reload();
    if (!error.empty()) frame->show_status(QString::fromStdString(error));
    frame->client()->setActiveSubWindow(sub);
    return sub;
  }
  auto* view = new ReportView(absolute);
  const std::string error = view->reload();
  if (!error.empty()) {
    delete view;
    frame->show_status(QString::fromStdString("Report not shown: " + error));
    vozo_qt::dialogs().warn("The report cannot be shown: " + error);
    return nullptr;
  }
  const QString title = QStringLiteral("Report \u2014 %1").arg(QFileInfo(absolute).fileName());
  return frame->add_child(view, title, QRect(-1, -1, 720, 460));
}

void view_report_item(int32_t&) {
  const results_qt::RunResults* run = results_qt::menu_run();
  const std::string name = run != nullptr ? run->report_path : std::string();
  if (name.empty()) {
    if (vozo_qt::Frame* frame = vozo_qt::env().frame) {
      frame->show_status(QStringLiteral("No report yet: the run has not named one"));
    }
    return;
  }
  view_report(QString::fromStdString(name).trimmed());
}

}  // namespace desktop_qt
