// SPDX-License-Identifier: GPL-3.0-or-later
// "Separate tensors..." of the "Results" menu: the finished run's twins separated into one,
// two or three stress tensors (chosen, or as many as asked) on worker threads behind a
// progress dialog that can cancel; then what the terminal program's --tensors gives: the
// summary (the BIC of each number tried and any stress permutation warning), a report per
// further tensor beside the run's (report.t2.txt), a stereonet per tensor and one of all of
// them, and the `tensors` block and column of the run's exports.
#pragma once

#include <cstdint>

namespace results_qt {

class BackgroundJob;

// The menu item: asks for the number of tensors (chosen, 1, 2 or 3), then starts as below.
void separation_item(int32_t& id);

// Starts the separation, 0 tensors meaning "chosen"; returns its job (it deletes itself once
// it has shown what it found), or nullptr when there is no finished run, no frame, or a
// computation already runs.
BackgroundJob* start_separation(int32_t tensors);

}  // namespace results_qt
