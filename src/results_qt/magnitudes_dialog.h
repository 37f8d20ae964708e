// SPDX-License-Identifier: GPL-3.0-or-later
// The "Stress magnitudes" dialog: the CRSS to use, and the magnitudes it gives.
#pragma once

#include <QWidget>

#include "results/result_model.h"

namespace results_qt {

// Shows the dialog (modal) for r; the CRSS chosen stays for the exports.
void show_magnitudes_dialog(QWidget* parent, const results::Result& r);

}  // namespace results_qt
