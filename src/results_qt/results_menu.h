// The windowed program's "Results" menu: after a run that wrote its whole report, the
// program adds it through the window environment's program menu items, with the exports
// and the stress magnitudes of that run.
#pragma once

#include "results/result_model.h"

namespace results_qt {

// Called at the start of the computation: the end of a sound run adds the menu.
void add_menu_when_run_ends();

// The result of the finished run, or nullptr when there is none. The menu's items call it
// on the window thread; the run has ended by then, so its state no longer changes.
const results::Result* finished_result();

// The CRSS (MPa) last chosen in the "Stress magnitudes" dialog; the exports use it too.
double& chosen_crss();

}  // namespace results_qt
