// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/computation_thread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <utility>

#include "recfmt/stop.h"
#include "vozo/bridge.h"
#include "vozo_qt/console_hooks.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/run_progress.h"

namespace vozo_qt {

ComputationThread::ComputationThread(QObject* parent)
    : QObject(parent), bridge_([] {
        // The computation's first record wakes the window thread, which then takes all
        // that arrived in the meantime.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { drain_requests(); }, Qt::QueuedConnection);
      }) {}

ComputationThread::~ComputationThread() {
  if (worker_.joinable()) {
    bridge_.quit();
    bridge_.request_stop();
    worker_.join();
  }
  Environment& e = env();
  if (e.bridge == &bridge_) {
    e.bridge = nullptr;
    e.computing = false;
  }
}

bool ComputationThread::start(ConsoleWindow* console, std::function<void()> body, Summary summary,
                              Ended ended) {
  Environment& e = env();
  if (started_ || e.computing || console == nullptr) return false;
  started_ = true;
  running_ = true;
  ended_ = std::move(ended);
  e.bridge = &bridge_;
  e.computing = true;
  e.end = vozo::EndFlag{};
  e.dialogue = vozo::DialogueWatch{};
  e.run_summary.clear();
  // Every standard unit finds the run's console.
  e.units = vozo::UnitWindowTable{};
  e.units.register_unit(vozo::default_console_unit);
  e.units.attach_last(&console->state());
  reset_progress();
  worker_ = std::thread([this, body = std::move(body), summary = std::move(summary)] {
    const int32_t code = recfmt::run_program(body);
    const std::string said = summary ? summary(code) : std::string();
    // Discarded if this object went first (its destructor waits for this thread).
    QMetaObject::invokeMethod(
        this, [this, code, said] { finish(code, said); }, Qt::QueuedConnection);
  });
  return true;
}

void ComputationThread::finish(int32_t code, const std::string& summary) {
  if (worker_.joinable()) worker_.join();
  running_ = false;
  exit_code_ = code;
  Environment& e = env();
  if (e.bridge == &bridge_) {
    drain_requests();
    e.computing = false;
    e.run_summary = summary;
    show_end_status();
  }
  if (ended_) ended_(code);
}

}  // namespace vozo_qt
