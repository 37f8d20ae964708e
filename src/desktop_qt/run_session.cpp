// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_qt/run_session.h"

#include <QAction>
#include <QDir>
#include <QKeySequence>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProgressDialog>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

#include "desktop_qt/import_dialog.h"
#include "desktop_qt/new_run_dialog.h"
#include "desktop_qt/workbench.h"
#include "gemino/progress.h"
#include "results_qt/background_job.h"
#include "results_qt/confidence_item.h"
#include "results_qt/results_menu.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/application.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"
#include "vozo_qt/run_progress.h"

namespace desktop_qt {

namespace {

QString text_of(const std::string& s) {
  return QString::fromStdString(s);
}

}  // namespace

RunSession::RunSession(vozo_qt::Frame& frame, SessionOptions options)
    : QObject(&frame), frame_(frame), options_(std::move(options)) {
  if (options_.start_folder.empty()) options_.start_folder = QDir::currentPath().toStdString();
  QMenu* file = frame_.menus().value(0);
  QAction* first =
      file != nullptr && !file->actions().isEmpty() ? file->actions().first() : nullptr;
  auto add = [&](const QString& text, const QKeySequence& key, const QString& tip, auto slot) {
    auto* action = new QAction(text, &frame_);
    if (!key.isEmpty()) {
      action->setShortcut(key);
      action->setShortcutContext(Qt::WindowShortcut);
    }
    action->setStatusTip(tip);
    connect(action, &QAction::triggered, this, slot);
    if (file != nullptr) file->insertAction(first, action);
    return action;
  };
  add(QStringLiteral("&New run..."), QKeySequence(Qt::CTRL | Qt::Key_N),
      QStringLiteral("Choose the files and settings of a new run, in a console of its own"),
      [this] { new_run(); });
  run_again_ = add(QStringLiteral("&Run again"), QKeySequence(Qt::CTRL | Qt::Key_R),
                   QStringLiteral("Run again with the last run's files"), [this] { run_again(); });
  stop_ = add(QStringLiteral("S&top run"), QKeySequence(),
              QStringLiteral("Stop the inversion at its next progress report (Esc)"),
              [this] { stop(); });
  add_import_item(frame_, file, first);
  if (file != nullptr) file->insertSeparator(first);

  stop_button_ = new QToolButton(&frame_);
  stop_button_->setText(QStringLiteral("Stop"));
  stop_button_->setToolTip(QStringLiteral("Stop the inversion (Esc in the console)"));
  stop_button_->hide();
  connect(stop_button_, &QToolButton::clicked, this, [this] { stop(); });
  frame_.statusBar()->addPermanentWidget(stop_button_);

  // Before the "Window" menu, which stays last.
  results_menu_ = results_qt::add_menu(static_cast<int32_t>(frame_.menus().size()) - 1);
  connect(frame_.client(), &QMdiArea::subWindowActivated, this, &RunSession::window_activated);
  frame_.set_exit_check([this] { return may_exit(); });
  connect(&frame_, &vozo_qt::Frame::going, this, [this] {
    frame_going_ = true;
    disconnect(frame_.client(), nullptr, this, nullptr);
  });

  // The status bar shows the run's stage; Stop and Exit end the inversion here.
  gemino::set_progress_hook([](gemino::ProgressStage stage, int32_t done, int32_t total) {
    vozo_qt::report_progress(
        stage == gemino::ProgressStage::starting_tensors ? "starting tensors" : "search step", done,
        total);
  });

  timer_ = new QTimer(this);
  connect(timer_, &QTimer::timeout, this, &RunSession::tick);
  timer_->start(10);
  tick();
}

RunSession::~RunSession() {
  gemino::set_progress_hook({});
  results_qt::set_menu_run(nullptr);
  if (!frame_going_) frame_.set_exit_check({});
}

bool RunSession::running() const {
  return !runs_.empty() && runs_.back()->thread().running();
}

int32_t RunSession::exit_code() const {
  return desktop::session_exit_code(ended_early_, last_exit_code_);
}

DesktopRun* RunSession::start_typed_run() {
  if (running()) return nullptr;
  const auto number = static_cast<int32_t>(runs_.size()) + 1;
  runs_.push_back(std::make_unique<DesktopRun>(number, std::nullopt, options_.start_folder));
  if (options_.crss != nullptr) runs_.back()->results().crss = *options_.crss;
  return launch(*runs_.back());
}

DesktopRun* RunSession::start_run(const desktop::RunRequest& request) {
  if (running()) {
    DesktopRun& going = *runs_.back();
    // A run still waiting for its file names (the console's at start-up) gives way.
    if (going.console() != nullptr && going.console()->reading() &&
        vozo_qt::env().dialogue.report_name().empty() && !going.is_set_aside()) {
      going.set_aside();
      pending_ = request;
      going.thread().bridge().request_stop();
      return nullptr;
    }
    frame_.show_status(QStringLiteral("A run is going: stop it before starting another."));
    return nullptr;
  }
  const std::string problem = desktop::request_problem(request, options_.start_folder);
  if (!problem.empty()) {
    frame_.show_status(text_of(problem));
    return nullptr;
  }
  last_request_ = request;
  const std::string folder = desktop::working_folder(request, options_.start_folder);
  // The run's relative names, typed or taken from the dialog, are in its folder (one run
  // computes at a time, so the process's folder is the run's).
  QDir::setCurrent(text_of(folder));
  const auto number = static_cast<int32_t>(runs_.size()) + 1;
  runs_.push_back(std::make_unique<DesktopRun>(number, request, options_.start_folder));
  return launch(*runs_.back());
}

DesktopRun* RunSession::launch(DesktopRun& run) {
  run.set_console(vozo_qt::open_default_console(text_of(desktop::console_title(run.number())),
                                                (run.number() - 1) % 8));
  connect(run.console(), &vozo_qt::ConsoleWindow::stop_asked, this, [this] { stop(); });
  select(&run);
  DesktopRun* r = &run;
  run.thread().start(
      run.console(), [this, r] { options_.body(r->state()); },
      [this, r](int32_t code) {
        return options_.summary ? options_.summary(r->state(), code) : std::string();
      },
      [this, r](int32_t) { run_ended(*r); });
  tick();
  return &run;
}

void RunSession::new_run() {
  desktop::RunRequest last;
  if (last_request_) {
    last = *last_request_;
  } else if (options_.crss != nullptr) {
    last.crss_mpa = *options_.crss;
  }
  // The folder and the recent runs kept from earlier sessions, when the workbench keeps them.
  Workbench* bench = workbench();
  if (last_folder_.empty() && bench != nullptr) last_folder_ = bench->history().last_folder();
  const std::vector<desktop::RunFiles> recent =
      bench != nullptr ? bench->history().runs() : std::vector<desktop::RunFiles>();
  const std::optional<desktop::RunRequest> request =
      options_.ask ? options_.ask(last)
                   : ask_run_request(&frame_, last, options_.start_folder, last_folder_, recent);
  if (!request) return;
  if (bench != nullptr) {
    // The parameter file absolute: the other names are taken in its folder.
    const QString params = QDir(QString::fromStdString(options_.start_folder))
                               .absoluteFilePath(QString::fromStdString(request->parameter_file));
    bench->history().add_run({params.toStdString(), request->data_file, request->report_file});
  }
  // Read by the run's thread at its end: changed only while no run computes.
  if (options_.crss != nullptr && !running()) *options_.crss = request->crss_mpa;
  start_run(*request);
}

void RunSession::run_again() {
  if (last_request_) {
    start_run(*last_request_);
  } else {
    new_run();
  }
}

void RunSession::stop() {
  if (!running()) return;
  runs_.back()->thread().bridge().request_stop();
  frame_.show_status(QStringLiteral("Stopping the run at its next progress report..."));
}

void RunSession::tick() {
  const bool going = running();
  if (going) runs_.back()->type_answer();
  // Beside the progress bar while the run computes; not while it waits for an answer.
  stop_button_->setVisible(going && runs_.back()->console() != nullptr &&
                           !runs_.back()->console()->reading());
  stop_->setEnabled(going);
  run_again_->setEnabled(!going);
}

void RunSession::run_ended(DesktopRun& run) {
  last_exit_code_ = run.thread().exit_code();
  const std::string said =
      run.finish(vozo_qt::env().dialogue.report_name(), vozo_qt::env().dialogue.file_names());
  if (run.end() == desktop::RunEnd::stopped && !run.is_set_aside()) ended_early_ = true;
  if (pending_) {
    const desktop::RunRequest next = *pending_;
    pending_.reset();
    start_run(next);
    return;
  }
  if (!said.empty()) {
    const QString prefix =
        runs_.size() > 1 ? QStringLiteral("Run %1: ").arg(run.number()) : QString();
    frame_.show_status(prefix + text_of(said));
  }
  select(&run);
  tick();
  if (run.end() != desktop::RunEnd::completed || !run.request() ||
      results_qt::finished_result() == nullptr) {
    return;
  }
  const desktop::RunRequest& request = *run.request();
  switch (request.after) {
    case desktop::After::nothing:
      break;
    case desktop::After::bootstrap:
      results_qt::start_confidence(request.resamples);
      break;
    case desktop::After::scan:
      results_qt::start_scan({request.scan_first, request.scan_last, request.scan_step});
      break;
  }
}

void RunSession::select(DesktopRun* run) {
  selected_ = run;
  results_qt::set_menu_run(run != nullptr ? &run->results() : nullptr);
  results_qt::enable_menu(results_menu_);
}

void RunSession::window_activated(QMdiSubWindow* window) {
  if (window == nullptr) return;
  for (const std::unique_ptr<DesktopRun>& run : runs_) {
    bool owns = run->console() != nullptr && run->console() == window->widget();
    for (const QPointer<QMdiSubWindow>& figure : run->results().figures) {
      owns = owns || figure == window;
    }
    if (owns) {
      if (run.get() != selected_) select(run.get());
      return;
    }
  }
}

bool RunSession::may_exit() {
  if (running()) {
    if (vozo_qt::dialogs().ask("An inversion is running. Stop it and quit?") != vozo::Answer::yes) {
      return false;
    }
    // Marked as stopped when it ends; the Exit sequence asks for the stop itself.
    return true;
  }
  if (results_qt::BackgroundJob* job = results_qt::BackgroundJob::current()) {
    if (vozo_qt::dialogs().ask("A computation of the Results menu is running. Stop it and quit?") !=
        vozo::Answer::yes) {
      return false;
    }
    job->cancel();
    ended_early_ = true;
  }
  return true;
}

}  // namespace desktop_qt
