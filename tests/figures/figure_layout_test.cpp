// SPDX-License-Identifier: GPL-3.0-or-later
// Figures stay legible at every window size: narrow plots take fewer ticks and put their
// legend under the frame, and no text runs off the page or over other text, down to the
// smallest figure window.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bootstrap/twin_scan.h"
#include "figures/confidence_figures.h"
#include "figures/example_run.h"
#include "figures/plot_axes.h"
#include "figures/plots.h"
#include "figures/result_figures.h"

namespace figures {
namespace {

struct Box {
  double x0 = 0.0, y0 = 0.0, x1 = 0.0, y1 = 0.0;
};

// The page area a text covers: its advance along the line, and from the ascent of capitals
// above the baseline to the descent below it.
Box box_of(const Item& t) {
  const double w = text_width(t.text, t.font_size, t.bold);
  const double start = t.anchor == Anchor::start ? 0.0 : t.anchor == Anchor::middle ? -w / 2 : -w;
  const double up = 0.76 * t.font_size, down = 0.22 * t.font_size;
  if (!t.vertical)
    return {t.centre.x + start, t.centre.y - up, t.centre.x + start + w, t.centre.y + down};
  // Read upward: the line runs towards the top of the page, its ascent to the left.
  return {t.centre.x - up, t.centre.y - start - w, t.centre.x + down, t.centre.y - start};
}

bool overlap(const Box& a, const Box& b) {
  constexpr double slack = 0.2;  // a touching edge is not an overlap
  return a.x0 + slack < b.x1 && b.x0 + slack < a.x1 && a.y0 + slack < b.y1 && b.y0 + slack < a.y1;
}

std::vector<const Item*> texts(const Figure& f) {
  std::vector<const Item*> t;
  for (const Item& item : f.items) {
    if (item.kind == Item::Kind::text && !item.text.empty()) t.push_back(&item);
  }
  return t;
}

// What is wrong with the figure's text, one line each; empty when all is legible.
std::string text_faults(const Figure& f) {
  std::string faults;
  const std::vector<const Item*> t = texts(f);
  for (std::size_t i = 0; i < t.size(); ++i) {
    const Box a = box_of(*t[i]);
    if (a.x0 < -0.2 || a.y0 < -0.2 || a.x1 > f.width + 0.2 || a.y1 > f.height + 0.2) {
      faults += "off the page: " + t[i]->text + "\n";
    }
    for (std::size_t j = i + 1; j < t.size(); ++j) {
      if (overlap(a, box_of(*t[j])))
        faults += "over each other: " + t[i]->text + " / " + t[j]->text + "\n";
    }
  }
  return faults;
}

using figures_test::example_run;

class FigureLayout : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    scan_ = new bootstrap::Scan(bootstrap::run_scan(example_run().input, {80, 100, 10}, 2));
  }
  static void TearDownTestSuite() {
    delete scan_;
    scan_ = nullptr;
  }
  static Figure figure(FigureKind kind, double width, double height) {
    if (kind == FigureKind::twin_scan) return scan_figure(*scan_, width, height, "Example", 10.0);
    return result_figure(kind, example_run().result, example_run().magnitudes, width, height);
  }
  static bootstrap::Scan* scan_;
};
bootstrap::Scan* FigureLayout::scan_ = nullptr;

constexpr FigureKind all_kinds[] = {FigureKind::stereonet, FigureKind::grains,
                                    FigureKind::shear_plot, FigureKind::cumulative,
                                    FigureKind::twin_scan};

TEST_F(FigureLayout, NoTextOffThePageOrOverOtherTextAtAnyWindowSize) {
  // The smallest figure window at 96 and at 72 dots per inch, a new window's size, the page.
  const std::pair<double, double> sizes[] = {
      {240.0, 180.0}, {320.0, 240.0}, {399.0, 300.0}, {450.0, 315.0}, {540.0, 360.0}};
  for (FigureKind kind : all_kinds) {
    for (const auto& [w, h] : sizes) {
      EXPECT_EQ(text_faults(figure(kind, w, h)), "")
          << figure_title(kind) << " at " << w << " x " << h;
    }
  }
}

TEST(PlotLayoutTable, NumbersThinnedUntilTheyKeepAGap) {
  // -0.5 to 0.5 across a frame of each width, asking for 10 intervals at font 10: the
  // numbers ("−0.5" is some 17 points wide at 9 points) drop to every 0.2, then 0.5, then 1.
  const struct {
    double length;
    int numbers;
  } cases[] = {{300.0, 11}, {150.0, 5}, {60.0, 3}, {20.0, 1}};
  for (const auto& c : cases) {
    Figure f;
    f.width = 400.0;
    f.height = 300.0;
    PlotArea area;
    area.left = 50.0;
    area.right = 50.0 + c.length;
    area.top = 30.0;
    area.bottom = 250.0;
    area.x_min = -0.5;
    area.x_max = 0.5;
    draw_axes(f, area, 10.0, "", "");
    int numbers = 0;
    std::vector<Box> boxes;
    for (const Item* t : texts(f)) {
      if (t->anchor != Anchor::middle) continue;
      ++numbers;
      for (const Box& b : boxes) EXPECT_FALSE(overlap(b, box_of(*t))) << t->text;
      boxes.push_back(box_of(*t));
    }
    EXPECT_EQ(numbers, c.numbers) << c.length;
  }
}

}  // namespace
}  // namespace figures

namespace figures {
namespace {

struct Drawn {
  int x_numbers = 0, y_numbers = 0;
};

// The numbers along the axes of a plot from -0.5 to 0.5 across and 0 to 1 up, laid out on a
// page of that size.
Drawn axis_numbers(const PlotLayout& layout, double font, double width, double height) {
  Figure f;
  f.width = width;
  f.height = height;
  PlotArea area = layout.area;
  area.x_min = -0.5;
  area.x_max = 0.5;
  draw_axes(f, area, font, "", "");
  Drawn n;
  for (const Item* t : texts(f)) {
    if (t->anchor == Anchor::middle) ++n.x_numbers;
    if (t->anchor == Anchor::end) ++n.y_numbers;
  }
  return n;
}

TEST(PlotLayoutTable, NarrowPagesTakeFewerTicksAndTheLegendBelow) {
  struct Case {
    double width, height;
    bool below;
    int columns, x_numbers, y_numbers;
  };
  // A legend of 5 rows, each 90 points wide, beside the frame or in columns under it.
  const Case cases[] = {
      {540.0, 360.0, false, 1, 11, 6},  // the page
      {400.0, 300.0, false, 1, 11, 6},  // the narrowest wide page
      {399.9, 300.0, true, 4, 5, 3},    // the widest narrow one
      {240.0, 180.0, true, 2, 5, 3},    // the smallest window
  };
  for (const Case& c : cases) {
    const double font = plot_font(c.width, c.height);
    const PlotLayout layout = plot_layout(c.width, c.height, font, false, 90.0, 5);
    const Drawn n = axis_numbers(layout, font, c.width, c.height);
    EXPECT_EQ(layout.legend_below, c.below) << c.width;
    EXPECT_EQ(layout.columns, c.columns) << c.width;
    EXPECT_EQ(n.x_numbers, c.x_numbers) << c.width;
    EXPECT_EQ(n.y_numbers, c.y_numbers) << c.width;
    if (c.below) {
      // Under the axis title, from the left margin; the frame as wide as the page allows.
      EXPECT_GT(layout.legend.y, layout.area.bottom + 2.7 * font) << c.width;
      EXPECT_EQ(layout.legend.x, 1.2 * font) << c.width;
      EXPECT_EQ(layout.area.right, c.width - 1.5 * font) << c.width;
      // Rows in lines of `columns`, the last line's bottom inside the page.
      const int lines = (5 + layout.columns - 1) / layout.columns;
      EXPECT_LE(layout.legend.y + lines * 1.3 * font, c.height) << c.width;
    } else {
      EXPECT_EQ(layout.legend.x, layout.area.right + 1.2 * font) << c.width;
      EXPECT_EQ(layout.legend.y, layout.area.top) << c.width;
    }
  }
}

}  // namespace
}  // namespace figures
