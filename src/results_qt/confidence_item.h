// SPDX-License-Identifier: GPL-3.0-or-later
// "Confidence (bootstrap)..." and "Twin-percent scan..." of the "Results" menu: the
// finished run's grains drawn again B times, or its inversion again for a range of
// percentages of twins counted, on all cores behind a progress dialog that can cancel;
// then the summary or the table, the cones and resampled axes on the stereonet, and the
// scan's figure.
#pragma once

#include <cstdint>

#include "bootstrap/twin_scan.h"

namespace results_qt {

class BackgroundJob;

// The menu items: ask for B or for the range, then start as below.
void confidence_item(int32_t& id);
void scan_item(int32_t& id);

// Starts the computation and returns its job (it deletes itself once it has shown what it
// found); nullptr when there is no finished run, no frame, or a computation already runs.
BackgroundJob* start_confidence(int32_t resamples);
BackgroundJob* start_scan(const bootstrap::ScanRange& range);

}  // namespace results_qt
