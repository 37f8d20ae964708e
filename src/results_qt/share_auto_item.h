// SPDX-License-Identifier: GPL-3.0-or-later
// "Suggested twin share..." of the "Results" menu: the twin-percent scan over half of the
// twins to all of them, then the bootstrap and the magnitudes at the share it suggests, on
// all cores behind a progress dialog that can cancel; the scan's table, the share used,
// the tensor and magnitudes at it and the bootstrap summary then show in a window, and the
// stereonet gets the cones around the tensor at the share.
#pragma once

#include <QString>
#include <cstdint>

#include "bootstrap/auto_share.h"

namespace results_qt {

class BackgroundJob;

// The menu item: asks for B, then starts as below.
void share_auto_item(int32_t& id);

// Starts the computation with B resamples and returns its job (it deletes itself once it
// has shown what it found); nullptr when there is no finished run, no frame, B is not
// positive, or a computation already runs.
BackgroundJob* start_share_auto(int32_t resamples);

// The progress dialog's text: the scan's count, then the B resamples at the share, then
// one inversion for each grain left out (the second stage counts B + grains in all).
QString share_auto_label(bootstrap::AutoStage stage, int32_t resamples, int32_t done,
                         int32_t total);

}  // namespace results_qt
