// SPDX-License-Identifier: GPL-3.0-or-later
// The mark under a point of a figure, and its words, as a figure window's tooltip names it.
#include "figures/mark_finder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "figures/example_run.h"
#include "figures/result_figures.h"
#include "figures/stereonet.h"

namespace figures {
namespace {

Item& numbered(Item& item, const char* cls, const char* number) {
  item.css_class = cls;
  item.data = {{"number", number}};
  return item;
}

TEST(MarkAt, NearestMarkWithinReach) {
  Figure f;
  f.width = 400.0;
  f.height = 400.0;
  numbered(f.circle({100.0, 100.0}, 2.0, {}), "pole counted", "1");
  numbered(f.line({{108.0, 98.0}, {112.0, 98.0}, {112.0, 102.0}, {108.0, 102.0}}, {}, true),
           "plane untwinned", "2");
  f.circle({200.0, 200.0}, 3.0, {}).css_class = "sigma1";
  numbered(f.circle({50.0, 50.0}, 1.0, {}), "c_axis", "7");
  f.circle({300.0, 300.0}, 3.0, {}).css_class = "legend";            // a legend's sample
  numbered(f.circle({320.0, 300.0}, 3.0, {}), "pole counted", "x");  // no number to give
  f.text({100.0, 100.0}, "σ1", 10.0).css_class = "label";

  using K = Mark::Kind;
  const struct {
    Point at;
    double reach;
    std::optional<Mark> found;
  } cases[] = {
      {{100.0, 100.0}, 2.0, Mark{K::plane, 1}},  // on the pole
      {{103.9, 100.0}, 2.0, Mark{K::plane, 1}},  // 1.9 from its rim
      {{104.1, 100.0}, 2.0, std::nullopt},       // 2.1 from it, 3.9 from the square
      {{106.5, 100.0}, 2.0, Mark{K::plane, 2}},  // 1.5 from the square
      {{105.0, 100.0}, 3.0, Mark{K::plane, 2}},  // 3 from both: the one drawn last
      {{110.0, 100.0}, 0.0, Mark{K::plane, 2}},  // inside the square
      {{202.0, 202.0}, 1.0, Mark{K::axis, 1}},   // inside σ1's symbol
      {{50.0, 52.5}, 2.0, Mark{K::grain, 7}},    // 1.5 from the c-axis's centre
      {{300.0, 300.0}, 5.0, std::nullopt},       // legends and labels are not marks
      {{320.0, 300.0}, 5.0, std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(mark_at(f, c.at, c.reach), c.found) << c.at.x << ", " << c.at.y;
  }
}

using figures_test::example_run;

class ExampleMarks : public ::testing::Test {
 protected:
  static Figure figure(FigureKind kind) {
    return result_figure(kind, example_run().result, example_run().magnitudes, page_width,
                         page_height);
  }
};

TEST_F(ExampleMarks, TheAxesAndAPlaneInWords) {
  EXPECT_EQ(mark_text({Mark::Kind::axis, 1}, example_run().result), "σ1 040/10");
  EXPECT_EQ(mark_text({Mark::Kind::axis, 2}, example_run().result), "σ2 154/66");
  EXPECT_EQ(mark_text({Mark::Kind::axis, 3}, example_run().result), "σ3 306/22");
  // The first line of the data file: grain 1, c-axis 268/37, its first plane untwinned.
  EXPECT_EQ(mark_text({Mark::Kind::plane, 1}, example_run().result),
            "Plane 1: untwinned, τ below SEUIL\npole 298/29, TAU −0.1034");
  EXPECT_EQ(mark_text({Mark::Kind::grain, 1}, example_run().result), "Grain 1: c-axis 268/37");
  // Numbers the result does not hold.
  EXPECT_EQ(mark_text({Mark::Kind::plane, 0}, example_run().result), "");
  EXPECT_EQ(mark_text({Mark::Kind::plane, 181}, example_run().result), "");
  EXPECT_EQ(mark_text({Mark::Kind::axis, 0}, example_run().result), "");
  EXPECT_EQ(mark_text({Mark::Kind::axis, 4}, example_run().result), "");
}

// Every plane's mark, pointed at, is found as that plane or one drawn on the same spot;
// every σ axis of the stereonet as itself.
TEST_F(ExampleMarks, EveryMarkOfTheFiguresIsFoundWherePointedAt) {
  for (FigureKind kind : {FigureKind::stereonet, FigureKind::shear_plot, FigureKind::grains}) {
    const Figure f = figure(kind);
    int32_t marks = 0;
    for (const Item& item : f.items) {
      const bool plane = item.css_class.starts_with("pole ") ||
                         item.css_class.starts_with("plane ") || item.css_class == "c_axis";
      const bool axis = item.css_class.starts_with("sigma");
      if (!plane && !axis) continue;
      Point at = item.centre;
      if (item.kind == Item::Kind::polyline) {
        at = {(item.points[0].x + item.points[2].x) / 2.0,
              (item.points[0].y + item.points[2].y) / 2.0};
      }
      const std::optional<Mark> found = mark_at(f, at, 3.0);
      ASSERT_TRUE(found.has_value()) << item.css_class;
      EXPECT_FALSE(mark_text(*found, example_run().result).empty());
      if (axis) {
        EXPECT_EQ(*found, (Mark{Mark::Kind::axis, item.css_class.back() - '0'}));
      } else if (found->number != std::stoi(item.data.at(0).second)) {
        // Another mark drawn later covers this spot.
        EXPECT_EQ(mark_at(f, at, 0.0), found);
      }
      ++marks;
    }
    EXPECT_EQ(marks, kind == FigureKind::stereonet ? 183
                     : kind == FigureKind::grains
                         ? static_cast<int32_t>(example_run().result.grains.size())
                         : 180)
        << figure_title(kind);
  }
}

}  // namespace
}  // namespace figures
