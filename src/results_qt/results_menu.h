// SPDX-License-Identifier: GPL-3.0-or-later
// The windowed program's "Results" menu: there from the start, its items grayed until
// the run it acts on has written its whole report; the exports and the stress magnitudes
// of that run.
#pragma once

#include <cstdint>
#include <string>

#include "results/result_model.h"

class QMenu;

namespace results_qt {

// Inserts the menu before top-level menu `before` (counted from 0), every item grayed;
// returns it (nullptr without a frame).
QMenu* add_menu(int32_t before);
// Enables the items when the selected run has a result, grays them otherwise.
void enable_menu(QMenu* menu);

// The result of the run the menu acts on, or nullptr when it has none (no run selected,
// the run still going, or its report incomplete). Window thread only.
const results::Result* finished_result();

// Export JSON and Export CSV of the selected run to `path`, the JSON with what the session
// computed for the run; the status bar says what was written where, or why nothing was.
// True when the file was written.
bool export_json_file(const std::string& path);
bool export_csv_file(const std::string& path);

// The CRSS (MPa) last chosen for the selected run in the "Stress magnitudes" dialog;
// the exports and figures use it too.
double chosen_crss();
void choose_crss(double crss);

}  // namespace results_qt
