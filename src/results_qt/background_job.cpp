// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_qt/background_job.h"

#include <QProgressDialog>
#include <algorithm>

namespace results_qt {

namespace {

QPointer<BackgroundJob>& running() {
  static QPointer<BackgroundJob> job;
  return job;
}

// Often enough for the bar to move smoothly, seldom enough to cost nothing.
constexpr int poll_ms = 50;

}  // namespace

BackgroundJob::BackgroundJob(QWidget* parent, const QString& title, Label label, Work work,
                             Finished finished)
    : QObject(parent), label_(std::move(label)), finished_(std::move(finished)) {
  running() = this;
  dialog_ = new QProgressDialog(label_(0, 0), QStringLiteral("Cancel"), 0, 1, parent);
  dialog_->setWindowTitle(title);
  dialog_->setMinimumWidth(360);  // the counts in the text do not make it jump
  dialog_->setWindowModality(Qt::NonModal);
  dialog_->setAutoClose(false);
  dialog_->setAutoReset(false);
  dialog_->setMinimumDuration(0);
  dialog_->setValue(0);
  // The dialog stays up, saying it is cancelling, until the work has stopped.
  QObject::disconnect(dialog_, &QProgressDialog::canceled, dialog_, &QProgressDialog::cancel);
  QObject::connect(dialog_, &QProgressDialog::canceled, this, &BackgroundJob::cancel);
  dialog_->show();

  QObject::connect(&timer_, &QTimer::timeout, this, &BackgroundJob::poll);
  timer_.start(poll_ms);
  worker_ = std::jthread([this, work = std::move(work)] {
    work([this](int32_t done, int32_t total) {
      total_.store(total, std::memory_order_relaxed);
      done_.store(done, std::memory_order_relaxed);
      return !stop_.load(std::memory_order_relaxed);
    });
    returned_.store(true, std::memory_order_release);
  });
}

BackgroundJob::~BackgroundJob() {
  stop_.store(true);
  if (worker_.joinable()) worker_.join();
  delete dialog_.data();
}

void BackgroundJob::cancel() {
  stop_.store(true);
  // The work stops after the inversions under way: the dialog says so until then.
  if (dialog_ != nullptr) dialog_->setLabelText(QStringLiteral("Cancelling..."));
}

BackgroundJob* BackgroundJob::current() {
  return running().data();
}

bool BackgroundJob::raise_current() {
  BackgroundJob* job = current();
  if (job == nullptr) return false;
  if (QProgressDialog* dialog = job->progress_dialog()) {
    dialog->raise();
    dialog->activateWindow();
  }
  return true;
}

void BackgroundJob::poll() {
  const bool returned = returned_.load(std::memory_order_acquire);
  const int32_t total = total_.load(std::memory_order_relaxed);
  const int32_t done = std::min(done_.load(std::memory_order_relaxed), total);
  const bool cancelled = stop_.load();
  if (dialog_ != nullptr && !cancelled && total > 0) {
    dialog_->setMaximum(total);
    dialog_->setValue(done);
    dialog_->setLabelText(label_(done, total));
  }
  if (!returned) return;
  timer_.stop();
  worker_.join();  // the work's results are complete and visible from here on
  delete dialog_.data();
  running() = nullptr;
  // Told once, after the job let go of the menu: the end may start another computation.
  const Finished finished = std::move(finished_);
  deleteLater();
  if (finished) finished(cancelled);
}

}  // namespace results_qt
