// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_qt/workbench.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "desktop/menu_tips.h"
#include "desktop_qt/figure_export.h"
#include "desktop_qt/help_windows.h"
#include "desktop_qt/qt_settings.h"
#include "figures/cairo_render.h"
#include "figures_qt/figure_windows.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/console_hooks.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace desktop_qt {

Workbench::Workbench(vozo_qt::Frame& frame, std::unique_ptr<desktop::SettingsStore> store,
                     double* crss)
    : QObject(&frame),
      frame_(frame),
      store_(std::move(store)),
      history_(*store_),
      crss_(crss),
      export_dpi_(desktop::stored_export_dpi(*store_, figures::default_dpi)) {
  setObjectName(QStringLiteral("workbench"));
  if (crss_ != nullptr) *crss_ = desktop::stored_crss(*store_, *crss_);
  // Save dialogs start in the folder used last, in this session or the one before.
  if (!history_.last_folder().empty())
    vozo_qt::env().save_directory.remember(history_.last_folder());
  restore_frame_place(frame_, *store_);
  add_export_item();
  add_help_menu();
  frame_.installEventFilter(this);
  connect(&frame_, &vozo_qt::Frame::going, this, [this] {
    frame_going_ = true;
    disconnect(frame_.client(), nullptr, this, nullptr);
  });
  // Every menu the frame shows, the program's own included, gets its tips as it opens.
  qApp->installEventFilter(this);
  connect(frame_.client(), &QMdiArea::subWindowActivated, this, &Workbench::window_activated);
  for (QMdiSubWindow* sub : frame_.children()) {
    if (auto* console = qobject_cast<vozo_qt::ConsoleWindow*>(sub->widget())) {
      apply_console_style(*console, *store_);
      console->setProperty("gemino_styled", true);
      last_console_ = console;
    }
  }
  update_export_item();
}

void Workbench::add_help_menu() {
  // Last, as desktop programs have it; the frame's own About stays in the File menu.
  help_ = frame_.insert_menu(-1, QStringLiteral("&Help"));
  QAction* guide = help_->addAction(QStringLiteral("&User guide"));
  guide->setShortcut(QKeySequence(Qt::Key_F1));
  guide->setShortcutContext(Qt::WindowShortcut);
  connect(guide, &QAction::triggered, this, [this] { show_user_guide(&frame_); });
  QAction* about = help_->addAction(QStringLiteral("&About Gemino"));
  connect(about, &QAction::triggered, this, [this] { show_about_gemino(&frame_); });
  fill_status_tips(*help_);
}

void Workbench::add_export_item() {
  QList<QMenu*> menus = frame_.menus();
  if (menus.isEmpty()) return;
  QMenu* file = menus.first();
  export_ = new QAction(QStringLiteral("&Export figure..."), file);
  export_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
  export_->setShortcutContext(Qt::WindowShortcut);
  // After Save As, in the group of commands that write the active window.
  const QList<QAction*> items = file->actions();
  const qsizetype save_as = items.indexOf(frame_.action(vozo::IDM_SAVEAS));
  QAction* before = save_as >= 0 && save_as + 1 < items.size() ? items[save_as + 1] : nullptr;
  file->insertAction(before, export_);
  connect(export_, &QAction::triggered, this, [this] { export_active_figure(); });
  connect(file, &QMenu::aboutToShow, this, &Workbench::update_export_item);
}

void Workbench::update_export_item() {
  if (export_ == nullptr) return;
  figures::FigureKind kind{};
  std::shared_ptr<const figures_qt::FigureData> data;
  export_->setEnabled(figures_qt::figure_of(frame_.active_subwindow(), kind, data));
}

void Workbench::window_activated() {
  update_export_item();
  QMdiSubWindow* sub = frame_.active_subwindow();
  auto* console = sub != nullptr ? qobject_cast<vozo_qt::ConsoleWindow*>(sub->widget()) : nullptr;
  if (console == nullptr) return;
  // A console opened in this session takes the style the last one was left with.
  if (!console->property("gemino_styled").toBool()) {
    if (last_console_ != nullptr) save_console_style(*last_console_, *store_);
    apply_console_style(*console, *store_);
    console->setProperty("gemino_styled", true);
  }
  last_console_ = console;
}

bool Workbench::export_active_figure() {
  figures::FigureKind kind{};
  std::shared_ptr<const figures_qt::FigureData> data;
  QMdiSubWindow* sub = frame_.active_subwindow();
  if (!figures_qt::figure_of(sub, kind, data)) {
    frame_.show_status(QStringLiteral("Export figure: the active window is not a figure"));
    return false;
  }
  const QString suggested =
      QString::fromStdString(vozo_qt::env().save_directory.default_path(figure_file_name(kind)));
  const std::optional<ExportRequest> request = asker_ ? asker_(&frame_, suggested, export_dpi_)
                                                      : ask_export(&frame_, suggested, export_dpi_);
  if (!request || request->path.isEmpty()) return false;
  const ExportOutcome outcome = export_figure_file(kind, *data, *request);
  frame_.show_status(QString::fromStdString(outcome.message));
  if (!outcome.written) {
    vozo_qt::dialogs().warn(outcome.message);
    return false;
  }
  if (request->dpi > 0 && request->dpi != export_dpi_) {
    export_dpi_ = request->dpi;
    desktop::store_export_dpi(*store_, export_dpi_);
  }
  vozo_qt::env().save_directory.remember(request->path.toStdString());
  history_.remember_file(request->path.toStdString());
  return true;
}

void Workbench::fill_status_tips(QMenu& menu) {
  for (QAction* a : menu.actions()) {
    if (a->isSeparator() || !a->statusTip().isEmpty()) continue;
    a->setStatusTip(QString::fromStdString(desktop::menu_tip(a->text().toStdString())));
  }
}

void Workbench::save_settings() {
  save_frame_place(frame_, *store_);
  if (last_console_ != nullptr) {
    save_console_style(*last_console_, *store_);
  }
  const std::string folder = vozo_qt::env().save_directory.directory();
  if (!folder.empty()) history_.remember_file(folder);
  if (crss_ != nullptr) desktop::store_crss(*store_, *crss_);
  if (auto* qt_store = dynamic_cast<QtSettingsStore*>(store_.get())) qt_store->flush();
}

bool Workbench::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    if (auto* menu = qobject_cast<QMenu*>(watched)) fill_status_tips(*menu);
  } else if (watched == &frame_ && event->type() == QEvent::Hide && !frame_going_ && !saved_ &&
             frame_.exited()) {
    // The frame goes at Exit: what the session changed is kept.
    saved_ = true;
    save_settings();
  }
  return QObject::eventFilter(watched, event);
}

Workbench* install_workbench(vozo_qt::Frame& frame, std::unique_ptr<desktop::SettingsStore> store,
                             double& crss) {
  if (auto* existing = frame.findChild<Workbench*>(QStringLiteral("workbench"))) return existing;
  return new Workbench(frame, std::move(store), &crss);
}

void install_workbench(double& crss) {
  vozo_qt::on_window_thread([&crss] {
    if (vozo_qt::Frame* frame = vozo_qt::env().frame) {
      install_workbench(*frame, std::make_unique<QtSettingsStore>(), crss);
    }
  });
}

Workbench* workbench() {
  vozo_qt::Frame* frame = vozo_qt::env().frame;
  return frame != nullptr ? frame->findChild<Workbench*>(QStringLiteral("workbench")) : nullptr;
}

}  // namespace desktop_qt
