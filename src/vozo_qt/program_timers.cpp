// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/program_timers.h"

#include <algorithm>

namespace vozo_qt {

bool ProgramTimers::start(int32_t id, int32_t interval_ms, vozo::TimerCallback callback) {
  if (!slots_.start(id, callback)) return false;
  std::unique_ptr<QTimer>& ticker = tickers_[id];
  if (ticker == nullptr) {
    ticker = std::make_unique<QTimer>();
    QObject::connect(ticker.get(), &QTimer::timeout, [this, id] { slots_.fire(id); });
  }
  ticker->start(std::max(0, interval_ms));
  return true;
}

void ProgramTimers::stop(int32_t id) {
  if (auto it = tickers_.find(id); it != tickers_.end()) {
    // A callback may stop its own timer: the ticker goes once its signal has returned.
    it->second->stop();
    it->second.release()->deleteLater();
    tickers_.erase(it);
  }
  slots_.stop(id);
}

}  // namespace vozo_qt
