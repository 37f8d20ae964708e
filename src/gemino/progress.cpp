// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/progress.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <utility>

namespace gemino {

namespace {

// The hook is shared so that replacing it while the run calls it leaves the running call
// its own copy; the flag spares the lock on every step when no hook is set.
std::mutex hook_mutex;
std::shared_ptr<const ProgressHook> current_hook;
std::atomic<bool> hook_set{false};

}  // namespace

void set_progress_hook(ProgressHook hook) {
  std::shared_ptr<const ProgressHook> next;
  if (hook) next = std::make_shared<const ProgressHook>(std::move(hook));
  const std::lock_guard<std::mutex> lock(hook_mutex);
  current_hook = std::move(next);
  hook_set.store(current_hook != nullptr, std::memory_order_release);
}

void report_progress(ProgressStage stage, int32_t done, int32_t total) {
  if (!hook_set.load(std::memory_order_acquire)) return;
  std::shared_ptr<const ProgressHook> hook;
  {
    const std::lock_guard<std::mutex> lock(hook_mutex);
    hook = current_hook;
  }
  if (hook) (*hook)(stage, done, total);
}

}  // namespace gemino
