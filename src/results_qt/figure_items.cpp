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
bool closed(const OpenFigure& f) {
  return f.window.isNull() || f.window->isHidden();
}

std::shared_ptr<figures_qt::FigureData> run_data(const RunResults& run) {
  if (!run.result) return nullptr;
  auto data = std::make_shared<figures_qt::FigureData>();
  data->result = *run.result;
  data->stress = results::stress_magnitudes(*run.result, run.crss);
  return data;
}

void bring_forward(QMdiSubWindow* window) {
  if (window->isMinimized()) window->showNormal();
  if (vozo_qt::Frame* frame = vozo_qt::env().frame) frame->client()->setActiveSubWindow(window);
}

void redraw(const OpenFigure& f) {
  if (QWidget* figure = f.window->widget()) figure->update();
}

// Keeps the window among the run's figures; true when it was opened.
bool keep(RunResults& run, figures::FigureKind kind, QMdiSubWindow* window,
          std::shared_ptr<figures_qt::FigureData> data) {
  if (window == nullptr) return false;
  std::erase_if(run.figures, [](const QPointer<QMdiSubWindow>& w) { return w.isNull(); });
  run.figures.emplace_back(window);
  std::erase_if(run.open_figures, closed);
  run.open_figures.push_back({window, kind, std::move(data)});
  return true;
}

// Each figure of a run opens once: asked again, its window comes forward as it is.
void open_figure(RunResults& run, figures::FigureKind kind) {
  std::erase_if(run.open_figures, closed);
  for (const OpenFigure& f : run.open_figures) {
    if (f.kind == kind && !f.of_a_tensor) {
      bring_forward(f.window);
      return;
    }
  }
  std::shared_ptr<figures_qt::FigureData> data = run_data(run);
  if (data == nullptr) return;
  if (kind == figures::FigureKind::stereonet) data->extras = run.marks;
  keep(run, kind, figures_qt::open_figure_window(kind, data), data);
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
  std::erase_if(run.open_figures, closed);
  const OpenFigure* last = nullptr;
  for (const OpenFigure& f : run.open_figures) {
    if (f.kind != figures::FigureKind::stereonet || f.of_a_tensor) continue;
    f.data->extras = run.marks;
    redraw(f);
    last = &f;
  }
  if (last == nullptr) {
    open_figure(run, figures::FigureKind::stereonet);
  } else {
    bring_forward(last->window);
  }
}

void open_scan_figure(RunResults& run, bootstrap::Scan scan) {
  std::shared_ptr<figures_qt::FigureData> data = run_data(run);
  if (data == nullptr) return;
  data->scan = std::move(scan);
  // Every scan is a figure of its own: a scan over another range does not replace one open.
  figures_qt::set_crss(*data, run.crss);
  keep(run, figures::FigureKind::twin_scan,
       figures_qt::open_figure_window(figures::FigureKind::twin_scan, data), data);
}

void redraw_for_crss(RunResults& run) {
  std::erase_if(run.open_figures, closed);
  for (const OpenFigure& f : run.open_figures) {
    figures_qt::set_crss(*f.data, run.crss);
    redraw(f);
  }
}

}  // namespace results_qt
