// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces the two stereonets share: where the net and the text block go on a page of
// a given size, the net itself (primitive, 10° graticule, north tick), and the text block.
#pragma once

#include <string>
#include <vector>

#include "figures/figure.h"
#include "figures/projection.h"

namespace figures {

// Grey levels and colours of the figures: each pair of neighbouring things differs in
// lightness as well as hue, so a grey print keeps them apart.
inline constexpr Colour graticule_grey{200, 200, 200};
inline constexpr Colour mid_grey{120, 120, 120};
inline constexpr Colour sigma1_colour{200, 30, 30};   // red, dark in grey
inline constexpr Colour sigma2_colour{250, 190, 40};  // yellow, light in grey
inline constexpr Colour sigma3_colour{40, 90, 200};   // blue, mid grey
inline constexpr Colour violating_colour{215, 48, 39};

struct NetPlace {
  Point centre;
  double radius = 0.0;
  Point at(LineOrientation line) const;
  Point at(NetPoint p) const { return {centre.x + radius * p.x, centre.y - radius * p.y}; }
};

struct PageLayout {
  double font = 10.0;  // body text size, points
  Point title;         // baseline of the title
  NetPlace net;
  Point block;  // top left of the text block
  double block_width = 0.0;
  // Top left of the legend; below the text block when there is no room beside it (y < 0).
  Point legend{0.0, -1.0};
};

// Landscape pages put the text beside the net, tall ones below it.
PageLayout page_layout(double width, double height);

// Primitive circle (class "primitive"), graticule when asked, north tick and "N".
void draw_net(Figure& figure, const NetPlace& net, double font, bool graticule);

// Lines of text from the top left corner down, made smaller when the widest would not
// fit in `width`; returns the y below the last.
double draw_text_block(Figure& figure, Point at, const std::vector<std::string>& lines, double font,
                       double width);

// The font size, at most `font`, at which the widest of the lines fits in `width`.
double fitting_size(const std::vector<std::string>& lines, double font, double width, bool bold);

// The figure's title in bold from `at`, made smaller where it would not fit between
// margins as wide as at.x on either side; an empty title draws nothing.
void draw_title(Figure& figure, Point at, double font, const std::string& title);

// "040/10": trend on three digits, plunge on two, rounded to whole degrees.
std::string trend_plunge(LineOrientation line);

}  // namespace figures
