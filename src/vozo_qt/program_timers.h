// SPDX-License-Identifier: GPL-3.0-or-later
// The program's timers: the slots that say which callback an id calls, and the Qt
// timers that tick them. One owner for both, cleared with the environment.
#pragma once

#include <QTimer>
#include <cstdint>
#include <map>
#include <memory>

#include "vozo/timer_slots.h"

namespace vozo_qt {

class ProgramTimers {
 public:
  // Starts (or restarts) timer id calling callback every interval_ms; false when all
  // slots are taken or id is 0.
  bool start(int32_t id, int32_t interval_ms, vozo::TimerCallback callback);
  void stop(int32_t id);
  int32_t count() const { return slots_.count(); }

 private:
  vozo::TimerSlots slots_;
  std::map<int32_t, std::unique_ptr<QTimer>> tickers_;
};

}  // namespace vozo_qt
