// SPDX-License-Identifier: GPL-3.0-or-later
// The four figures of a run's result: what each shows, taken from the result and its
// stress magnitudes, and writing them to files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "figures/figure.h"
#include "figures/plots.h"
#include "figures/stereonet.h"
#include "results/magnitudes.h"
#include "results/result_model.h"

namespace figures {

// The four figures of a result, and the figure of a twin-percent scan of it.
enum class FigureKind { stereonet, grains, shear_plot, cumulative, twin_scan };
// "Stereonet", "Grains", "Shear-stress plot", "Cumulative chart", "Twin-percent scan": menu
// items and titles.
std::string_view figure_title(FigureKind kind);

// How the figures draw a plane of a class.
PoleKind pole_kind(results::PlaneClass cls);

// The title a figure of the run carries: the parameter file's, else "Gemino".
std::string title_of(const results::Result& r);

StereonetInput stereonet_input(const results::Result& r, const results::StressMagnitudes& m);

// The result on one line, in the figures' notation: "σ1 040/10, σ2 154/66, σ3 306/22,
// R 0.306, SEUIL 0.1240, Δσ 80.6 MPa (CRSS 10.0), regime SS, SHmax 40°".
std::string result_line(const results::Result& r, const results::StressMagnitudes& m);
GrainsInput grains_input(const results::Result& r);
PlotInput plot_input(const results::Result& r, const results::StressMagnitudes& m);

// The normal-stress term of a plane under the optimised tensor, compression positive, for
// principal values 1, R and 0 (as the report's first chart places planes).
double normal_stress_term(const results::Result& r, const results::Plane& plane);

// Extra marks for the stress stereonet (resampled axes, confidence cones), when a run has them.
struct StereonetExtras {
  std::vector<OverlayDot> dots;
  std::vector<OverlayCone> cones;
  std::string dots_legend;   // "resampled axes"; empty: not in the legend
  std::string cones_legend;  // "95% cone"; empty: not in the legend
  std::string marks_legend;  // cones that only mark axes: one legend row (StereonetInput)
  // When not empty, the dots are the planes' poles in other colours (their tensor's), and
  // this is the legend's name of each colour (OverlayDot::sigma): the poles are then not
  // drawn again by their class. The result keeps its planes, for the magnitudes' bracket.
  std::vector<std::pair<int32_t, std::string>> pole_dot_rows;
};

// One figure at a size in points (a window passes its size in pixels). The scan's figure
// is drawn from a scan (scan_figure): from a result alone, its page is blank.
Figure result_figure(FigureKind kind, const results::Result& r, const results::StressMagnitudes& m,
                     double width, double height, const StereonetExtras* extras = nullptr);

// Writes one figure at the standard page size; empty on success, else what went wrong.
std::string write_result_figure(FigureKind kind, const results::Result& r,
                                const results::StressMagnitudes& m, const std::string& path,
                                int32_t dpi = 300, const StereonetExtras* extras = nullptr);

}  // namespace figures
