// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal program's progress: a one-line bar on standard error, redrawn in place,
// while the run scores its starting tensors and searches. Only when standard error is
// a terminal: a redirected error stream, and the console transcript, never see it.
#pragma once

namespace gemino {

// Sets the progress hook to draw the bar when standard error is a terminal; otherwise
// leaves the run without one.
void show_progress_on_terminal();

}  // namespace gemino
