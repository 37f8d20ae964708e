// The figure items of the "Results" menu: each opens a graphics window showing one figure
// of the finished run, drawn for the CRSS last chosen.
#pragma once

#include <cstdint>

namespace results_qt {

void open_stereonet(int32_t& id);
void open_grains(int32_t& id);
void open_shear_plot(int32_t& id);
void open_cumulative_chart(int32_t& id);

}  // namespace results_qt
