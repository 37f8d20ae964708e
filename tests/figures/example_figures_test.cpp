// SPDX-License-Identifier: GPL-3.0-or-later
// The figures of the bundled example's run: the stereonet's SVG against the result model,
// every figure in every format, and the stereonet's PNG against a reviewed image.
// GEMINO_UPDATE_GOLDEN=1 rewrites the reviewed image after a deliberate change.
#include <cairo.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "figures/cairo_render.h"
#include "figures/example_run.h"
#include "figures/net_layout.h"
#include "figures/result_figures.h"
#include "figures/svg_reading.h"
#include "figures/svg_writer.h"

namespace figures {
namespace {

namespace fs = std::filesystem;

using figures_test::example_run;

TEST(ExampleFigures, TheResultOnOneLineInTheFiguresNotation) {
  EXPECT_EQ(result_line(example_run().result, example_run().magnitudes),
            "σ1 040/10, σ2 154/66, σ3 306/22, R 0.306, SEUIL 0.1240, Δσ 80.6 MPa (CRSS 10.0), "
            "regime SS, SHmax 40°");
  results::StressMagnitudes undefined = example_run().magnitudes;
  undefined.defined = false;
  EXPECT_NE(result_line(example_run().result, undefined).find(", Δσ undefined, regime "),
            std::string::npos);
}

TEST(ExampleFigures, StereonetSvgHoldsEveryPlaneInItsClass) {
  const Figure figure = result_figure(FigureKind::stereonet, example_run().result,
                                      example_run().magnitudes, page_width, page_height);
  const auto elements = testing::svg_elements(svg_document(figure));
  EXPECT_EQ(testing::with_class(elements, "pole").size(), example_run().result.planes.size());
  const results::Counts& c = example_run().result.counts;
  EXPECT_EQ(testing::with_class(elements, "counted").size(), static_cast<size_t>(c.counted));
  EXPECT_EQ(testing::with_class(elements, "twinned_below").size(),
            static_cast<size_t>(c.twinned_below));
  EXPECT_EQ(testing::with_class(elements, "untwinned_ok").size(),
            static_cast<size_t>(c.untwinned_ok));
  EXPECT_EQ(testing::with_class(elements, "untwinned_violating").size(),
            static_cast<size_t>(c.untwinned_violating));

  // sigma1 where the equal-area law puts 040/10 on this page: radius and azimuth.
  const auto sigma1 = testing::with_class(elements, "sigma1");
  ASSERT_EQ(sigma1.size(), 1u);
  const NetPlace net = page_layout(page_width, page_height).net;
  const double dx = std::stod(sigma1[0].attributes.at("data-x")) - net.centre.x;
  const double dy = net.centre.y - std::stod(sigma1[0].attributes.at("data-y"));
  const results::Line& line = example_run().result.result.sigma1.line;
  EXPECT_NEAR(std::hypot(dx, dy) / net.radius, equal_area_radius(line.plunge), 1e-4);
  EXPECT_NEAR(std::atan2(dx, dy) * 180.0 / M_PI, line.trend, 0.01);
  EXPECT_EQ(sigma1[0].attributes.at("data-trend"), format_number(line.trend, 1));
}

TEST(ExampleFigures, EveryFigureInEveryFormat) {
  for (FigureKind kind : {FigureKind::stereonet, FigureKind::grains, FigureKind::shear_plot,
                          FigureKind::cumulative}) {
    for (const char* ext : {".svg", ".pdf", ".png"}) {
      const std::string path = example_run().dir.file(std::string(figure_title(kind)) + ext);
      EXPECT_EQ(write_result_figure(kind, example_run().result, example_run().magnitudes, path, 72),
                "");
      EXPECT_GT(fs::file_size(path), 1000u) << path;
    }
  }
  const std::string grains = svg_document(result_figure(
      FigureKind::grains, example_run().result, example_run().magnitudes, page_width, page_height));
  EXPECT_EQ(testing::with_class(testing::svg_elements(grains), "c_axis").size(),
            example_run().result.grains.size());
}

// Share of pixels whose colour differs by more than a quarter of the range in a channel.
double differing_share(cairo_surface_t* a, cairo_surface_t* b) {
  const int w = cairo_image_surface_get_width(a);
  const int h = cairo_image_surface_get_height(a);
  const unsigned char* pa = cairo_image_surface_get_data(a);
  const unsigned char* pb = cairo_image_surface_get_data(b);
  const int sa = cairo_image_surface_get_stride(a);
  const int sb = cairo_image_surface_get_stride(b);
  long differing = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w * 4; x += 4) {
      for (int k = 0; k < 3; ++k) {
        if (std::abs(pa[y * sa + x + k] - pb[y * sb + x + k]) > 64) {
          ++differing;
          break;
        }
      }
    }
  }
  return static_cast<double>(differing) / (static_cast<double>(w) * h);
}

TEST(ExampleFigures, StereonetPngMatchesTheReviewedImage) {
  const std::string golden = GEMINO_TEST_DATA "/example-stereonet.png";
  const std::string path = example_run().dir.file("stereonet.png");
  ASSERT_EQ(write_result_figure(FigureKind::stereonet, example_run().result,
                                example_run().magnitudes, path, 100),
            "");
  if (std::getenv("GEMINO_UPDATE_GOLDEN") != nullptr)
    fs::copy_file(path, golden, fs::copy_options::overwrite_existing);
  cairo_surface_t* expected = cairo_image_surface_create_from_png(golden.c_str());
  cairo_surface_t* actual = cairo_image_surface_create_from_png(path.c_str());
  ASSERT_EQ(cairo_surface_status(expected), CAIRO_STATUS_SUCCESS) << golden;
  ASSERT_EQ(cairo_surface_status(actual), CAIRO_STATUS_SUCCESS);
  ASSERT_EQ(cairo_image_surface_get_width(actual), cairo_image_surface_get_width(expected));
  ASSERT_EQ(cairo_image_surface_get_height(actual), cairo_image_surface_get_height(expected));
  // Text may be set a little differently by another font library; symbols may not move.
  EXPECT_LT(differing_share(expected, actual), 0.001);
  cairo_surface_destroy(expected);
  cairo_surface_destroy(actual);
}

}  // namespace
}  // namespace figures
