// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_qt/figure_items.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>
#include <utility>
#include <vector>

#include "figures_qt/figure_windows.h"
#include "results_qt/results_menu.h"
#include "results_qt/run_results.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace results_qt {

namespace {

// A closed window stays until its deferred deletion, hidden.
bool closed(const OpenStereonet& s) {
  return s.window.isNull() || s.window->isHidden();
}

std::shared_ptr<figures_qt::FigureData> run_data(const RunResults& run) {
  if (!run.result) return nullptr;
  auto data = std::make_shared<figures_qt::FigureData>();
  data->result = *run.result;
  data->stress = results::stress_magnitudes(*run.result, run.crss);
  return data;
}

void open_figure(RunResults& run, figures::FigureKind kind) {
  // Each window keeps its own copy: a later change of the CRSS does not redraw it.
  std::shared_ptr<figures_qt::FigureData> data = run_data(run);
  if (data == nullptr) return;
  if (kind == figures::FigureKind::stereonet) data->extras = run.marks;
  QMdiSubWindow* window = figures_qt::open_figure_window(kind, data);
  if (window == nullptr) return;
  std::erase_if(run.figures, [](const QPointer<QMdiSubWindow>& w) { return w.isNull(); });
  run.figures.emplace_back(window);
  if (kind == figures::FigureKind::stereonet) {
    std::erase_if(run.stereonets, closed);
    run.stereonets.push_back({window, std::move(data)});
  }
}

// The menu's figures are those of the selected run, once it has its result.
void open_selected(figures::FigureKind kind) {
  RunResults* run = menu_run();
  if (run != nullptr && finished_result() != nullptr) open_figure(*run, kind);
}

}  // namespace

void open_stereonet(int32_t&) {
  open_selected(figures::FigureKind::stereonet);
}
void open_grains(int32_t&) {
  open_selected(figures::FigureKind::grains);
}
void open_shear_plot(int32_t&) {
  open_selected(figures::FigureKind::shear_plot);
}
void open_cumulative_chart(int32_t&) {
  open_selected(figures::FigureKind::cumulative);
}

void set_stereonet_marks(RunResults& run, figures::StereonetExtras extras) {
  run.marks = std::move(extras);
  std::erase_if(run.stereonets, closed);
  if (run.stereonets.empty()) {
    open_figure(run, figures::FigureKind::stereonet);
    return;
  }
  for (const OpenStereonet& s : run.stereonets) {
    s.data->extras = run.marks;
    if (QWidget* figure = s.window->widget()) figure->update();
  }
  if (vozo_qt::Frame* frame = vozo_qt::env().frame) {
    frame->client()->setActiveSubWindow(run.stereonets.back().window);
  }
}

void open_scan_figure(RunResults& run, bootstrap::Scan scan) {
  std::shared_ptr<figures_qt::FigureData> data = run_data(run);
  if (data == nullptr) return;
  data->scan = std::move(scan);
  QMdiSubWindow* window =
      figures_qt::open_figure_window(figures::FigureKind::twin_scan, std::move(data));
  if (window != nullptr) run.figures.emplace_back(window);
}

}  // namespace results_qt
