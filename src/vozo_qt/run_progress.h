// SPDX-License-Identifier: GPL-3.0-or-later
// How far the computation has come, as its thread reports it, and the message the
// status bar shows once a run is over. The window thread reads the latest report on a
// timer: a fast run reports far more often than anyone could read.
#pragma once

#include <cstdint>
#include <string>

namespace vozo_qt {

// From the computation's thread: the stage (a text of static storage, such as
// "search step") and the count done of total. Carries out a stop requested by Exit.
void report_progress(const char* what, int32_t done, int32_t total);

// From the computation's thread, when the run has written its report: a summary of the
// result for the status bar ("sigma1 ... R ...").
void report_run_result(std::string summary);

struct ProgressReport {
  const char* what = nullptr;  // nullptr: nothing reported since the run started
  int32_t done = 0;
  int32_t total = 0;
};
ProgressReport latest_progress();
void reset_progress();

}  // namespace vozo_qt
