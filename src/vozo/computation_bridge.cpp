// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/computation_bridge.h"

#include <utility>

namespace vozo {

ComputationBridge::ComputationBridge(std::function<void()> wake, std::size_t queue_limit)
    : wake_(std::move(wake)), queue_limit_(queue_limit) {}

bool ComputationBridge::push_locked(ConsoleRequest request) {
  const bool was_empty = queue_.empty();
  queued_bytes_ += request.bytes.size();
  // Records of one unit that follow each other travel as one request: the window
  // thread then appends a whole burst of output at once.
  if (!was_empty && request.kind == ConsoleRequest::Kind::output &&
      queue_.back().kind == ConsoleRequest::Kind::output && queue_.back().unit == request.unit) {
    queue_.back().bytes += request.bytes;
    queue_.back().ends.push_back(queue_.back().bytes.size());
  } else {
    if (request.kind == ConsoleRequest::Kind::output) request.ends.push_back(request.bytes.size());
    queue_.push_back(std::move(request));
  }
  return was_empty;
}

bool ComputationBridge::write(int32_t unit, std::string_view bytes) {
  bool wake = false;
  {
    std::unique_lock<std::mutex> lock(mutex_);
    // A computation far ahead of the display waits for it, so that the queue stays
    // bounded; the wait ends with a stop too.
    computation_wakes_.wait(
        lock, [&] { return queued_bytes_ < queue_limit_ || stop_.load() || quit_.load(); });
    if (stop_.load()) return false;
    ConsoleRequest request;
    request.unit = unit;
    request.bytes.assign(bytes);
    wake = push_locked(std::move(request));
  }
  if (wake && wake_) wake_();
  return true;
}

void ComputationBridge::post(std::function<void()> action) {
  bool wake = false;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    ConsoleRequest request;
    request.kind = ConsoleRequest::Kind::action;
    request.action = std::move(action);
    wake = push_locked(std::move(request));
  }
  if (wake && wake_) wake_();
}

ComputationBridge::ReadStatus ComputationBridge::read(int32_t unit, int32_t capacity,
                                                      std::string& line) {
  bool wake = false;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (stop_.load()) return ReadStatus::stopped;
    answer_.reset();
    no_window_ = false;
    ConsoleRequest request;
    request.kind = ConsoleRequest::Kind::read;
    request.unit = unit;
    request.capacity = capacity;
    wake = push_locked(std::move(request));
  }
  if (wake && wake_) wake_();
  std::unique_lock<std::mutex> lock(mutex_);
  computation_wakes_.wait(
      lock, [&] { return answer_.has_value() || no_window_ || stop_.load() || quit_.load(); });
  if (answer_.has_value()) {
    line = std::move(*answer_);
    answer_.reset();
    return ReadStatus::line;
  }
  if (no_window_) return ReadStatus::no_window;
  return ReadStatus::stopped;
}

void ComputationBridge::wait_for_quit() {
  std::unique_lock<std::mutex> lock(mutex_);
  computation_wakes_.wait(lock, [&] { return quit_.load(); });
}

void ComputationBridge::request_stop() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stop_.store(true);
  }
  computation_wakes_.notify_all();
}

bool ComputationBridge::claim_stop() {
  return stop_.load() && !stop_claimed_.exchange(true);
}

void ComputationBridge::quit() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    quit_.store(true);
  }
  computation_wakes_.notify_all();
}

std::vector<ConsoleRequest> ComputationBridge::take_requests() {
  std::vector<ConsoleRequest> taken;
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    taken.assign(std::make_move_iterator(queue_.begin()), std::make_move_iterator(queue_.end()));
    queue_.clear();
    queued_bytes_ = 0;
  }
  computation_wakes_.notify_all();
  return taken;
}

void ComputationBridge::answer(std::string line) {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    answer_ = std::move(line);
  }
  computation_wakes_.notify_all();
}

void ComputationBridge::answer_no_window() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    no_window_ = true;
  }
  computation_wakes_.notify_all();
}

}  // namespace vozo
