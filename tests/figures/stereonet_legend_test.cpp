// SPDX-License-Identifier: GPL-3.0-or-later
// The stress stereonet's legend names the marks added to the net, each cone with its
// size, and only when the marks say what they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <string>
#include <vector>

#include "figures/stereonet.h"

namespace {

std::vector<std::string> texts(const figures::Figure& figure) {
  std::vector<std::string> t;
  for (const figures::Item& item : figure.items) {
    if (item.kind == figures::Item::Kind::text) t.push_back(item.text);
  }
  return t;
}

bool has(const std::vector<std::string>& t, const std::string& s) {
  return std::find(t.begin(), t.end(), s) != t.end();
}

figures::StereonetInput marked() {
  figures::StereonetInput in;
  in.title = "Site";
  in.sigma[0] = {40.0, 10.0};
  in.sigma[1] = {154.0, 66.0};
  in.sigma[2] = {306.0, 22.0};
  in.cones = {{{40.0, 10.0}, 7.46, 1}, {{154.0, 66.0}, 23.25, 2}, {{306.0, 22.0}, 41.0, 3}};
  in.dots = {{{41.0, 12.0}, 1}, {{150.0, 60.0}, 2}};
  return in;
}

TEST(StereonetLegend, NamesConesWithTheirSizeAndTheResampledAxes) {
  figures::StereonetInput in = marked();
  in.cones_legend = "95% cone";
  in.dots_legend = "resampled axes";
  const std::vector<std::string> t = texts(figures::stress_stereonet(in, 540.0, 360.0));
  for (const char* row :
       {"σ1 95% cone 7.5°", "σ2 95% cone 23.3°", "σ3 95% cone 41.0°", "resampled axes"}) {
    EXPECT_TRUE(has(t, row)) << row;
  }
  // Marks that do not say what they are (the separated tensors' axes) leave the legend as
  // it is without them.
  figures::StereonetInput bare = marked();
  bare.cones.clear();
  bare.dots.clear();
  EXPECT_EQ(texts(figures::stress_stereonet(marked(), 540.0, 360.0)),
            texts(figures::stress_stereonet(bare, 540.0, 360.0)));
  // A cone whose size could not be found has no row.
  in.cones[1].half_angle = std::numeric_limits<double>::quiet_NaN();
  const std::vector<std::string> two = texts(figures::stress_stereonet(in, 540.0, 360.0));
  EXPECT_FALSE(has(two, "σ2 95% cone nan°"));
  EXPECT_EQ(std::count_if(two.begin(), two.end(),
                          [](const std::string& s) { return s.find("cone") != std::string::npos; }),
            2);
}

// Small circles that only mark other tensors' axes get one row of their name, without the
// sizes that would mean nothing; the sizes stay with cones that are cones.
TEST(StereonetLegend, MarksOfOtherTensorsTakeOneRowWithoutSizes) {
  figures::StereonetInput in = marked();
  in.marks_legend = "axes of tensor 2";
  const std::vector<std::string> t = texts(figures::stress_stereonet(in, 540.0, 360.0));
  EXPECT_EQ(std::count(t.begin(), t.end(), "axes of tensor 2"), 1);
  EXPECT_TRUE(std::none_of(t.begin(), t.end(), [](const std::string& s) {
    return s.find("°") != std::string::npos && s.find("axes") != std::string::npos;
  }));
  // With no marks on the net the name stays out of the legend.
  in.cones.clear();
  EXPECT_FALSE(has(texts(figures::stress_stereonet(in, 540.0, 360.0)), "axes of tensor 2"));
}

}  // namespace
