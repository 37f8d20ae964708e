// SPDX-License-Identifier: GPL-3.0-or-later
// How far the run has come, for a front end that shows it: the driver reports every
// starting tensor it scores and every trial step of the search. The plain terminal
// program sets no hook and the run is exactly as without one.
#pragma once

#include <cstdint>
#include <functional>

namespace gemino {

enum class ProgressStage : int32_t { starting_tensors, search };

// Called by the run at every starting tensor (done = 1..trial_count, total = trial_count)
// and at every trial step of the search (done = 1..iteration_limit, total =
// iteration_limit). A hook may end the run by calling recfmt::stop(): it throws
// recfmt::StopRun, which unwinds to run_program as every stop does.
using ProgressHook = std::function<void(ProgressStage stage, int32_t done, int32_t total)>;

// Sets the process-wide hook; an empty one (the default) reports nothing. Safe to call
// from another thread than the run's: a call in flight finishes with the hook it took.
void set_progress_hook(ProgressHook hook);

// Passes the figures to the hook, if one is set.
void report_progress(ProgressStage stage, int32_t done, int32_t total);

}  // namespace gemino
