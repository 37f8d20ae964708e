// SPDX-License-Identifier: GPL-3.0-or-later
// What the "Results" menu keeps for one run: the run's state (read once the run has
// ended), its result, the CRSS chosen for it, the bootstrap's marks, the figure windows
// open on the run, the scan range last asked, and what the menu's computations found for
// it (for its exports). Each desktop run owns one; the menu acts on the run the session
// selected (the one whose window is active, else the latest).
#pragma once

#include <QMdiSubWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "bootstrap/twin_scan.h"
#include "figures/result_figures.h"
#include "figures_qt/figure_windows.h"
#include "gemino/state.h"
#include "results/result_model.h"
#include "separation/separation.h"

namespace results_qt {

// A figure window of the run and what it draws from: changing the data and updating the
// window redraws it in place.
struct OpenFigure {
  QPointer<QMdiSubWindow> window;
  figures::FigureKind kind = figures::FigureKind::stereonet;
  std::shared_ptr<figures_qt::FigureData> data;
  // The stereonet of a separation's tensor: redrawn for the CRSS like the others, but never
  // taken for the run's own stereonet.
  bool of_a_tensor = false;
};

// A block of the run's JSON that a computation of the session made, and the CRSS (MPa) its
// differential stresses were worked out for.
struct KeptBlock {
  nlohmann::ordered_json json;
  double crss_mpa = 0.0;
};

struct RunResults {
  // The run's state; nothing reads it before `ended` is set.
  const gemino::State* state = nullptr;
  bool ended = false;
  // The report's path once the run has ended ("" when the dialogue never named one).
  std::string report_path;
  std::optional<results::Result> result;
  double crss = results::default_crss_mpa;
  figures::StereonetExtras marks;
  // The figure windows still open, each once (closed ones are dropped when next looked at).
  std::vector<OpenFigure> open_figures;
  // Every figure window opened for the run (closed ones stay as null pointers).
  std::vector<QPointer<QMdiSubWindow>> figures;
  bootstrap::ScanRange last_range{70, 100, 5};
  // The run's own files (parameter, data, report) as absolute paths: nothing is saved
  // over them.
  std::vector<std::string> run_files;
  // The latest of each block the menu's computations made ("bootstrap", "scan",
  // "twin_percent_auto"), as the terminal program's JSON has them.
  std::map<std::string, KeptBlock> blocks;
  // The latest separation of the run's twins, and the number of tensors asked ("auto",
  // "1", "2", "3"): the `tensors` block and the CSV's `tensor` column.
  std::optional<separation::Separation> separation;
  std::string tensors_asked;
};

// The run the menu acts on, or nullptr. The session sets it; it owns the run.
RunResults* menu_run();
void set_menu_run(RunResults* run);

}  // namespace results_qt
