#include "results_qt/figure_items.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <memory>
#include <utility>
#include <vector>

#include "figures_qt/figure_windows.h"
#include "results_qt/results_menu.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace results_qt {

namespace {

figures::StereonetExtras& marks() {
  static figures::StereonetExtras extras;
  return extras;
}

// The stereonet windows with the data they draw from, so that new marks reach them.
struct OpenStereonet {
  QPointer<QMdiSubWindow> window;
  std::shared_ptr<figures_qt::FigureData> data;
};
std::vector<OpenStereonet>& open_stereonets() {
  static std::vector<OpenStereonet> windows;
  return windows;
}

// A closed window stays until its deferred deletion, hidden.
bool closed(const OpenStereonet& s) {
  return s.window.isNull() || s.window->isHidden();
}

std::shared_ptr<figures_qt::FigureData> run_data() {
  const results::Result* r = finished_result();
  if (r == nullptr) return nullptr;
  auto data = std::make_shared<figures_qt::FigureData>();
  data->result = *r;
  data->stress = results::stress_magnitudes(*r, chosen_crss());
  return data;
}

void open_figure(figures::FigureKind kind) {
  // Each window keeps its own copy: a later change of the CRSS does not redraw it.
  std::shared_ptr<figures_qt::FigureData> data = run_data();
  if (data == nullptr) return;
  if (kind == figures::FigureKind::stereonet) data->extras = marks();
  QMdiSubWindow* window = figures_qt::open_figure_window(kind, data);
  if (window != nullptr && kind == figures::FigureKind::stereonet) {
    std::erase_if(open_stereonets(), closed);
    open_stereonets().push_back({window, std::move(data)});
  }
}

}  // namespace

void open_stereonet(int32_t&) {
  open_figure(figures::FigureKind::stereonet);
}
void open_grains(int32_t&) {
  open_figure(figures::FigureKind::grains);
}
void open_shear_plot(int32_t&) {
  open_figure(figures::FigureKind::shear_plot);
}
void open_cumulative_chart(int32_t&) {
  open_figure(figures::FigureKind::cumulative);
}

void set_stereonet_marks(figures::StereonetExtras extras) {
  marks() = std::move(extras);
  std::erase_if(open_stereonets(), closed);
  if (open_stereonets().empty()) {
    open_figure(figures::FigureKind::stereonet);
    return;
  }
  for (const OpenStereonet& s : open_stereonets()) {
    s.data->extras = marks();
    if (QWidget* figure = s.window->widget()) figure->update();
  }
  if (vozo_qt::Frame* frame = vozo_qt::env().frame) {
    frame->client()->setActiveSubWindow(open_stereonets().back().window);
  }
}

const figures::StereonetExtras& stereonet_marks() {
  return marks();
}

void open_scan_figure(bootstrap::Scan scan) {
  std::shared_ptr<figures_qt::FigureData> data = run_data();
  if (data == nullptr) return;
  data->scan = std::move(scan);
  figures_qt::open_figure_window(figures::FigureKind::twin_scan, std::move(data));
}

}  // namespace results_qt
