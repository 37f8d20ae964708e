// SPDX-License-Identifier: GPL-3.0-or-later
// One run of the computation on a thread of its own, with the bridge its hooks use. The
// frame stays when the run ends: a later run takes the environment's run slots (the
// bridge, the end flag, the dialogue, the default console) in its turn. Runs follow each
// other; two never overlap.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

#include "vozo/computation_bridge.h"

namespace vozo_qt {

class ConsoleWindow;

class ComputationThread final : public QObject {
 public:
  // Told on the window thread once the run's thread has ended and everything it queued
  // is shown: its exit code.
  using Ended = std::function<void(int32_t exit_code)>;
  // Run on the computation's thread after the body has stopped (the frame still
  // shows the transcript): what the status bar is to say of the result, or "".
  using Summary = std::function<std::string(int32_t exit_code)>;

  explicit ComputationThread(QObject* parent = nullptr);
  // A run still going is stopped and waited for.
  ~ComputationThread() override;

  // Makes console the default console, clears what an earlier run left in the
  // environment and starts body. Window thread only; false when a run is going.
  bool start(ConsoleWindow* console, std::function<void()> body, Summary summary, Ended ended);
  bool running() const { return running_; }
  bool started() const { return started_; }
  int32_t exit_code() const { return exit_code_; }
  vozo::ComputationBridge& bridge() { return bridge_; }

 private:
  void finish(int32_t code, const std::string& summary);

  vozo::ComputationBridge bridge_;
  Ended ended_;
  bool running_ = false;
  bool started_ = false;
  int32_t exit_code_ = 0;
  std::thread worker_;
};

}  // namespace vozo_qt
