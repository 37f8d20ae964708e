// SPDX-License-Identifier: GPL-3.0-or-later
// The figure items of the "Results" menu: each opens a graphics window showing one figure
// of the selected run, drawn for the CRSS chosen for it (a figure already open comes
// forward instead); and the figures the menu's computations add (the bootstrap's marks on
// the stereonet, the scan's figure).
#pragma once

#include <cstdint>

#include "bootstrap/twin_scan.h"
#include "figures/result_figures.h"

namespace results_qt {

struct RunResults;

void open_stereonet(int32_t& id);
void open_grains(int32_t& id);
void open_shear_plot(int32_t& id);
void open_cumulative_chart(int32_t& id);

// The marks of the selected run's last finished bootstrap: its open stereonets are redrawn
// with them (one opens when none is), and every stereonet opened afterwards has them too.
void set_stereonet_marks(RunResults& run, figures::StereonetExtras marks);

// Opens a window with the figure of a run's scan.
void open_scan_figure(RunResults& run, bootstrap::Scan scan);

// Redraws the run's open figures for the CRSS it now has (Δσ in their text, the scan's
// differential stress).
void redraw_for_crss(RunResults& run);

}  // namespace results_qt
