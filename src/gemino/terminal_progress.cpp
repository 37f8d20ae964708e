// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/terminal_progress.h"

#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>

#include "gemino/progress.h"

namespace gemino {
namespace {

constexpr int bar_width = 30;

// Redraws at most ten times a second, and always at the last count of a stage, which
// then leaves the line clean for what the run writes next.
void draw(ProgressStage stage, int32_t done, int32_t total) {
  static std::mutex mutex;
  static std::chrono::steady_clock::time_point last_drawn;
  const std::lock_guard<std::mutex> lock(mutex);
  const auto now = std::chrono::steady_clock::now();
  const bool last = done >= total;
  if (!last && now - last_drawn < std::chrono::milliseconds(100)) return;
  last_drawn = now;
  if (last) {
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    return;
  }
  const int filled =
      total > 0 ? static_cast<int>(static_cast<int64_t>(bar_width) * done / total) : 0;
  char bar[bar_width + 1];
  for (int i = 0; i < bar_width; ++i) bar[i] = i < filled ? '#' : '-';
  bar[bar_width] = '\0';
  std::fprintf(stderr, "\r[%s] %s %d of %d\033[K", bar,
               stage == ProgressStage::starting_tensors ? "starting tensors" : "search step",
               static_cast<int>(done), static_cast<int>(total));
  std::fflush(stderr);
}

}  // namespace

void show_progress_on_terminal() {
  if (::isatty(STDERR_FILENO) == 1) set_progress_hook(draw);
}

}  // namespace gemino
