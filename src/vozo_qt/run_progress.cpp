// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/run_progress.h"

#include <QString>
#include <atomic>

#include "vozo_qt/console_hooks.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace vozo_qt {
namespace {

std::atomic<const char*> stage{nullptr};
std::atomic<int32_t> done_count{0};
std::atomic<int32_t> total_count{0};

}  // namespace

void report_progress(const char* what, int32_t done, int32_t total) {
  stop_if_requested();
  done_count.store(done, std::memory_order_relaxed);
  total_count.store(total, std::memory_order_relaxed);
  stage.store(what, std::memory_order_release);
}

void report_run_result(std::string summary) {
  if (env().bridge == nullptr) return;
  env().bridge->post([summary = std::move(summary)] { env().run_summary = summary; });
}

ProgressReport latest_progress() {
  ProgressReport report;
  report.what = stage.load(std::memory_order_acquire);
  report.done = done_count.load(std::memory_order_relaxed);
  report.total = total_count.load(std::memory_order_relaxed);
  return report;
}

void reset_progress() {
  stage.store(nullptr);
  done_count.store(0);
  total_count.store(0);
}

}  // namespace vozo_qt
