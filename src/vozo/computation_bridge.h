// SPDX-License-Identifier: GPL-3.0-or-later
// The meeting point of the computation's thread and the window thread. The computation
// queues its console records, read requests and other window actions in order and
// waits here for typed lines; the window thread takes the queue, shows the records and
// answers the reads. A stop request (Exit) wakes every wait of the computation.
// No window object is touched from the computation's side: the queue carries only
// bytes, unit ids and actions the window thread runs.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vozo {

struct ConsoleRequest {
  enum class Kind { output, read, action };
  Kind kind = Kind::output;
  int32_t unit = 0;
  std::string bytes;              // output: the records' bytes, back to back
  std::vector<std::size_t> ends;  // output: where each record ends in bytes
  int32_t capacity = 0;           // read: most bytes the answer may hold, CR LF included
  std::function<void()> action;   // action: run on the window thread
};

class ComputationBridge {
 public:
  // wake is called (from the computation's thread) when the queue turns non-empty; it
  // must make the window thread call take_requests() soon.
  explicit ComputationBridge(std::function<void()> wake,
                             std::size_t queue_limit = std::size_t{1} << 22);

  // ---- the computation's side ----
  // Queues a record for unit. Waits while the window thread is too far behind; false
  // (nothing queued) when a stop was requested.
  bool write(int32_t unit, std::string_view bytes);
  // Queues an action to run on the window thread after the records queued before it.
  void post(std::function<void()> action);
  enum class ReadStatus { line, no_window, stopped };
  // Asks the window of unit for a line and waits for it. line gets the answer's bytes,
  // CR LF included.
  ReadStatus read(int32_t unit, int32_t capacity, std::string& line);
  // The computation has ended (its last record is queued); it then waits in
  // wait_for_quit() until the window thread lets it go.
  void mark_ended() { ended_.store(true); }
  void wait_for_quit();

  // ---- either side ----
  void request_stop();
  bool stop_requested() const { return stop_.load(); }
  // True once, for the first caller after a stop request: that caller carries the stop
  // out, so that a stop unwinding through another hook is not started again.
  bool claim_stop();
  bool ended() const { return ended_.load(); }
  // The frame is gone: the computation is released from every wait.
  void quit();
  bool quitting() const { return quit_.load(); }

  // ---- the window thread's side ----
  // Everything queued, in order.
  std::vector<ConsoleRequest> take_requests();
  // Answers the waiting read.
  void answer(std::string line);
  // The waiting read's window does not exist (or closed while it waited).
  void answer_no_window();

 private:
  std::function<void()> wake_;
  const std::size_t queue_limit_;
  mutable std::mutex mutex_;
  std::condition_variable computation_wakes_;
  std::deque<ConsoleRequest> queue_;
  std::size_t queued_bytes_ = 0;
  std::optional<std::string> answer_;
  bool no_window_ = false;
  std::atomic<bool> stop_{false};
  std::atomic<bool> stop_claimed_{false};
  std::atomic<bool> ended_{false};
  std::atomic<bool> quit_{false};

  // Queues one request; the caller holds the lock. True when the queue was empty.
  bool push_locked(ConsoleRequest request);
};

}  // namespace vozo
