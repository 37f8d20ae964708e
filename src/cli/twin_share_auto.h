// SPDX-License-Identifier: GPL-3.0-or-later
// --twin-percent auto: the twin-percent scan suggests a share of twins to count, and the
// results beyond the report (the tensor, the bootstrap, the magnitudes) are those at that
// share. The report keeps the parameter file's share.
#pragma once

#include <cstdint>
#include <string>

#include <optional>

#include "bootstrap/auto_share.h"
#include "bootstrap/resampling.h"
#include "bootstrap/twin_scan.h"
#include "gemino/search_choice.h"

namespace cli {

// The share chosen and the results at it: shared with the windowed program.
using bootstrap::auto_json;
using bootstrap::auto_text;
using bootstrap::choose_share;
using bootstrap::ChosenShare;
using bootstrap::input_at_share;

// The range scanned: the one given with --scan-twin-percent, else auto_scan_range.
bootstrap::ScanRange auto_range(const std::string& scan_text);

// The share the report is written at: the parameter file's. A report written from the
// converged search is the run at the chosen share instead; that report takes its share
// from here.
int32_t report_twin_percent(const ChosenShare& chosen, int32_t file_twin_percent,
                            bool converged_report);

// The input of the scan once the data are read, before the run's search: the rows and
// parameters of the state, and as its tensor the one the run at the parameter file's share
// would give (the file's search, start mode 1), or the converged search's answer when that
// fits the data better or the file starts otherwise: the tensor a finished run at the
// file's share would be measured from.
bootstrap::RunInput scan_input(const gemino::State& s, double crss_mpa);

// The scan made before a converged run's search, and the share it chose.
struct ShareBeforeRun {
  bootstrap::Scan scan;
  ChosenShare chosen;
  int32_t file_twin_percent = 100;  // the parameter file's share, which the run no longer counts
};

// The driver's hook for `--twin-percent auto --search converged`: scans `range` on the
// data just read, keeps the scan and the chosen share in *share, then chooses the
// converged search at that share as gemino::converged_choice does (kept in *kept). The
// run then counts the chosen share, and the report is the run at that share.
gemino::ChooseSearch converged_at_share(const bootstrap::ScanRange& range, int32_t jobs,
                                        double crss_mpa, std::optional<ShareBeforeRun>* share,
                                        gemino::ReportSearch* kept);

// The scan's angles measured from `run` (the run's tensor) instead of the tensor the scan
// was measured from.
void measure_from(bootstrap::Scan& scan, const results::TensorResult& run);

}  // namespace cli
