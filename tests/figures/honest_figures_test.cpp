// SPDX-License-Identifier: GPL-3.0-or-later
// Figures say when they could not be drawn and when a value is undefined: Cairo's errors
// reach the caller, numbers past any meaning print as "undefined", the scan's figure draws
// no point for an undefined value, and the SVG holds no control character.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "bootstrap/twin_scan.h"
#include "figures/cairo_render.h"
#include "figures/confidence_figures.h"
#include "figures/net_layout.h"
#include "figures/svg_reading.h"
#include "figures/svg_writer.h"

namespace figures {
namespace {

TEST(Figures, ACairoErrorIsReportedNotABlankPage) {
  // Text that is not UTF-8 puts Cairo's context in error: the figure did not draw.
  Figure f;
  f.width = 200;
  f.height = 100;
  f.text({10, 20}, "ok", 10);
  for (const FileFormat format : {FileFormat::pdf, FileFormat::png}) {
    std::string bytes;
    EXPECT_EQ(render_figure(f, format, 72, bytes), "") << static_cast<int>(format);
    EXPECT_FALSE(bytes.empty());
  }
  f.text({10, 40}, "bad \xFF\xFE text", 10);
  for (const FileFormat format : {FileFormat::pdf, FileFormat::png}) {
    std::string bytes = "earlier";
    const std::string error = render_figure(f, format, 72, bytes);
    EXPECT_NE(error.find("could not be drawn"), std::string::npos) << static_cast<int>(format);
    EXPECT_TRUE(bytes.empty()) << static_cast<int>(format);
  }
  std::vector<unsigned char> pixels(200 * 100 * 4);
  EXPECT_NE(draw_pixels(f, pixels.data(), 200, 100, 200 * 4, 1.0), "");
  // Measuring such a text leaves later measurements whole.
  const double before = text_width("SEUIL", 10);
  (void)text_width("\xFF", 10);
  EXPECT_EQ(text_width("SEUIL", 10), before);
  EXPECT_GT(before, 0.0);
}

TEST(Figures, NumbersPastAnyMeaningAreUndefined) {
  const double inf = std::numeric_limits<double>::infinity();
  const struct {
    double value;
    int decimals;
    const char* text;
  } cases[] = {{inf, 2, "undefined"},
               {-inf, 2, "undefined"},
               {std::nan(""), 1, "undefined"},
               {-6.551058e37, 2, "undefined"},
               {1e15, 0, "undefined"},
               {-1e15, 0, "undefined"},
               {999999999999999.0, 0, "999999999999999"},
               {-0.0004, 3, "0.000"},
               {80.64, 1, "80.6"}};
  for (const auto& c : cases) EXPECT_EQ(format_number(c.value, c.decimals), c.text) << c.value;
}

TEST(Figures, SvgHoldsNoControlCharacters) {
  Figure f;
  f.width = 100;
  f.height = 100;
  f.text({1, 1}, std::string("a\x01\x1B\0b", 5), 10);
  const std::string svg = svg_document(f);
  for (const char c : svg) {
    const auto u = static_cast<unsigned char>(c);
    EXPECT_TRUE(u >= 0x20 || c == '\n') << static_cast<int>(u);
  }
  EXPECT_NE(svg.find(">ab</text>"), std::string::npos);
}

TEST(ScanFigure, UndefinedValuesDrawNoPoint) {
  bootstrap::Scan scan;
  scan.range = {70, 100, 10};
  for (int32_t p = 70; p <= 100; p += 10) {
    bootstrap::ScanRow row;
    row.twin_percent = p;
    row.valid = p != 90;
    row.sigma1_to_run_deg = 1.0;
    row.sigma3_to_run_deg = 2.0;
    if (p != 80) row.differential_mpa = 50.0 + p;
    scan.rows.push_back(row);
  }
  const auto points = testing::with_class(
      testing::svg_elements(svg_document(scan_figure(scan, page_width, page_height))),
      "scan_value");
  std::map<std::string, std::vector<std::string>> percents;
  for (const auto& e : points) {
    percents[e.attributes.at("data-series")].push_back(e.attributes.at("data-twin-percent"));
  }
  // 90 % was not inverted; at 80 % the differential stress is undefined.
  EXPECT_EQ(percents["sigma1"], (std::vector<std::string>{"70", "80", "100"}));
  EXPECT_EQ(percents["differential"], (std::vector<std::string>{"70", "100"}));
}

}  // namespace
}  // namespace figures
