// SPDX-License-Identifier: GPL-3.0-or-later
// The stress stereonet and the grains stereonet, drawn from inputs of their own so that
// the drawing knows nothing of how a run keeps its results (result_figures.h fills
// them from a run's result).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "figures/figure.h"
#include "figures/projection.h"

namespace figures {

// The four kinds of pole, named as the SVG classes name them.
enum class PoleKind { counted, twinned_below, untwinned_ok, untwinned_violating };
const char* pole_class(PoleKind kind);

// The symbol of a kind of pole (or of a plane in the plots), `size` its half-width.
Item& pole_symbol(Figure& figure, Point at, PoleKind kind, double size);
// Its words in legends.
const char* pole_legend(PoleKind kind);

struct NetPole {
  int32_t number = 0;
  LineOrientation line;
  PoleKind kind = PoleKind::counted;
};

// Things other results draw on the net: resampled principal axes as small dots and
// confidence cones around an axis. `sigma` (1, 2 or 3) picks the colour; 0 is grey.
struct OverlayDot {
  LineOrientation line;
  int32_t sigma = 0;
};
struct OverlayCone {
  LineOrientation axis;
  double half_angle = 0.0;  // degrees
  int32_t sigma = 0;
};

struct StereonetInput {
  std::string title;
  LineOrientation sigma[3];
  std::vector<NetPole> poles;
  std::optional<double> shmax;       // azimuth of the greatest horizontal stress, degrees
  std::vector<std::string> summary;  // the text block, line by line
  bool graticule = true;
  std::vector<OverlayDot> dots;
  std::vector<OverlayCone> cones;
  // What the dots and the cones stand for, named in the legend (with each cone's size);
  // empty: no legend row.
  std::string dots_legend;
  std::string cones_legend;
  // Cones whose size means nothing (small circles marking other tensors' axes, coloured by
  // their sigma): one legend row of this name, instead of a row per cone with its size.
  std::string marks_legend;
  // Dots that stand for the planes' poles, named by their colour (OverlayDot::sigma) in the
  // legend instead of the kinds of pole, which are then not drawn.
  std::vector<std::pair<int32_t, std::string>> pole_dot_rows;
};

Figure stress_stereonet(const StereonetInput& input, double width, double height);

struct GrainAxis {
  int32_t number = 0;
  LineOrientation line;
};

struct GrainsInput {
  std::string title;
  std::vector<GrainAxis> axes;
  std::vector<std::string> summary;
  bool graticule = true;
};

Figure grains_stereonet(const GrainsInput& input, double width, double height);

// The page size figures are written at unless asked otherwise, points.
inline constexpr double page_width = 540.0;
inline constexpr double page_height = 360.0;

}  // namespace figures
