// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/exit_sequence.h"

namespace vozo {

ExitResult run_exit_sequence(ExitHost& host) {
  // Each turn closes one window or ends the sequence; the bound only guards against
  // a host whose windows refuse to go away.
  for (int32_t turn = 0; turn < 4 * console_window_limit; ++turn) {
    if (host.open_window_count() <= 0) break;
    if (host.has_active_child()) {
      if (!host.close_active_child()) return ExitResult::cancelled;
      continue;
    }
    // Windows open but none active: close the remaining ones in turn.
    const ExitHost::CloseResult result = host.close_some_child();
    if (result == ExitHost::CloseResult::kept) return ExitResult::cancelled;
    if (result == ExitHost::CloseResult::none_left) break;
  }
  host.destroy_frame();
  if (!host.computation_ended()) host.stop_computation();
  return ExitResult::quit;
}

}  // namespace vozo
