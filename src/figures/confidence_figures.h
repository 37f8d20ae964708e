// SPDX-License-Identifier: GPL-3.0-or-later
// What the bootstrap and the twin-percent scan add to the figures: the resampled axes and
// the 95 % cones for the stress stereonet, and the figure of the scan (the angles of
// sigma1 and sigma3 to the run's own axes above, the differential stress below, against
// the share of twins counted).
#pragma once

#include <optional>
#include <string>

#include "bootstrap/bootstrap.h"
#include "bootstrap/twin_scan.h"
#include "figures/figure.h"
#include "figures/result_figures.h"

namespace figures {

// Every inverted resample's three axes as dots, and a cone of the resamples' 95 % angle
// around each axis of the tensor the cones were centred on (the bootstrap's reference).
StereonetExtras confidence_marks(const bootstrap::Summary& summary,
                                 const results::TensorResult& centre);

// The same around the run's own axes.
StereonetExtras confidence_marks(const bootstrap::Summary& summary, const results::Result& r);

// The scan's figure, under the run's title; the legend names the CRSS the differential
// stress is drawn for, when it is given.
Figure scan_figure(const bootstrap::Scan& scan, double width, double height,
                   const std::string& title = {}, std::optional<double> crss_mpa = {});

}  // namespace figures
