// SPDX-License-Identifier: GPL-3.0-or-later
// Tasks 0..count-1 on `jobs` worker threads that take the next task from one atomic
// index. Each task writes only its own slot of the caller's output, so the results do
// not depend on the number of workers or on which worker ran which task. A task that
// throws stops the others; once all have ended, its exception is thrown to the caller.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace bootstrap {

// The number of workers to use for a request: 0 or less means one per core.
inline int32_t worker_count(int32_t requested, int32_t tasks) {
  int32_t jobs = requested;
  if (jobs <= 0) jobs = static_cast<int32_t>(std::max(1u, std::thread::hardware_concurrency()));
  return std::max(1, std::min(jobs, std::max(tasks, 1)));
}

// task(worker, index) for every index, worker in 0..jobs-1 (so that a worker may keep
// scratch space of its own). Stops handing out tasks once `stop` is set or a task threw;
// the first exception a task threw is rethrown after every worker has ended.
template <typename Task>
void parallel_for(int32_t count, int32_t jobs, const std::atomic<bool>& stop, Task&& task) {
  std::atomic<int32_t> next{0};
  std::atomic<bool> failed{false};
  std::mutex error_mutex;
  std::exception_ptr error;
  auto work = [&](int32_t worker) {
    try {
      for (;;) {
        if (stop.load(std::memory_order_relaxed) || failed.load(std::memory_order_relaxed)) return;
        const int32_t index = next.fetch_add(1, std::memory_order_relaxed);
        if (index >= count) return;
        task(worker, index);
      }
    } catch (...) {
      const std::lock_guard<std::mutex> lock(error_mutex);
      if (!error) error = std::current_exception();
      failed.store(true);
    }
  };
  const int32_t n = worker_count(jobs, count);
  {
    std::vector<std::jthread> helpers;
    helpers.reserve(static_cast<std::size_t>(n - 1));
    for (int32_t w = 1; w < n; ++w) helpers.emplace_back(work, w);
    work(0);
  }  // the helpers are joined here
  if (error) std::rethrow_exception(error);
}

}  // namespace bootstrap
