#include "results_qt/figure_items.h"

#include <memory>

#include "figures_qt/figure_windows.h"
#include "results_qt/results_menu.h"

namespace results_qt {

namespace {

void open_figure(figures::FigureKind kind) {
  const results::Result* r = finished_result();
  if (r == nullptr) return;
  // Each window keeps its own copy: a later change of the CRSS does not redraw it.
  auto data = std::make_shared<figures_qt::FigureData>();
  data->result = *r;
  data->stress = results::stress_magnitudes(*r, chosen_crss());
  figures_qt::open_figure_window(kind, std::move(data));
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

}  // namespace results_qt
