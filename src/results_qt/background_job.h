// SPDX-License-Identifier: GPL-3.0-or-later
// A computation of the "Results" menu on worker threads while the window stays live. The
// work reports how far it has come through atomics; a timer on the window thread shows
// that in a progress dialog (not modal) whose Cancel asks the work to stop; the end is
// told on the window thread. Nothing waits in a loop of its own.
#pragma once

#include <QObject>
#include <QPointer>
#include <QProgressDialog>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

class QWidget;

namespace results_qt {

class BackgroundJob final : public QObject {
 public:
  // Told from the worker after each step: done of total; false asks the work to stop.
  using Progress = std::function<bool(int32_t done, int32_t total)>;
  // Runs on the worker thread; what it computes it leaves where `finished` finds it.
  using Work = std::function<void(const Progress& progress)>;
  // Told on the window thread once the work has returned.
  using Finished = std::function<void(bool cancelled)>;
  // The dialog's text for a count.
  using Label = std::function<QString(int32_t done, int32_t total)>;

  // Starts the work on a thread of its own; `parent` (the frame) holds the job and its
  // dialog. The job deletes itself after telling the end.
  BackgroundJob(QWidget* parent, const QString& title, Label label, Work work, Finished finished);
  // Asks the work to stop and waits for it (the frame closing while the work runs).
  ~BackgroundJob() override;

  void cancel();
  QProgressDialog* progress_dialog() const { return dialog_; }

  // The job running now, or nullptr: the menu runs one computation at a time.
  static BackgroundJob* current();
  // When a job is running, brings its dialog to the front (instead of a second computation)
  // and returns true.
  static bool raise_current();

 private:
  void poll();

  Label label_;
  Finished finished_;
  std::atomic<int32_t> done_{0};
  std::atomic<int32_t> total_{0};
  std::atomic<bool> stop_{false};
  std::atomic<bool> returned_{false};
  QPointer<QProgressDialog> dialog_;
  QTimer timer_;
  std::jthread worker_;  // last: joined before the members it uses go
};

}  // namespace results_qt
