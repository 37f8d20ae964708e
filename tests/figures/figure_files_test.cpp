// SPDX-License-Identifier: GPL-3.0-or-later
// A figure written as SVG, PDF and PNG: what the SVG marks, one page in the PDF, the
// PNG's size, and the same bytes every time.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "figures/cairo_render.h"
#include "figures/net_layout.h"
#include "figures/stereonet.h"
#include "figures/svg_reading.h"
#include "figures/svg_writer.h"

namespace figures {
namespace {

namespace fs = std::filesystem;

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::string command_output(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    pclose(pipe);
  }
  return out;
}

StereonetInput small_net() {
  StereonetInput in;
  in.title = "Site <A> & B";
  in.sigma[0] = {40.0, 10.0};
  in.sigma[1] = {154.0, 66.0};
  in.sigma[2] = {306.0, 22.0};
  const PoleKind kinds[] = {PoleKind::counted, PoleKind::counted, PoleKind::twinned_below,
                            PoleKind::untwinned_ok, PoleKind::untwinned_violating};
  for (int32_t i = 0; i < 5; ++i) in.poles.push_back({i + 1, {72.0 * i, 15.0 * i}, kinds[i]});
  in.shmax = 40.0;
  in.summary = {"R = 0.306"};
  return in;
}

class FigureFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("gemino-figures-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
            "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(FigureFiles, StereonetSvgMarksPolesAndAxesWhereTheyPlot) {
  const StereonetInput in = small_net();
  const Figure figure = stress_stereonet(in, page_width, page_height);
  const std::string svg = svg_document(figure);
  const auto elements = testing::svg_elements(svg);

  EXPECT_EQ(testing::with_class(elements, "primitive").size(), 1u);
  EXPECT_EQ(testing::with_class(elements, "pole").size(), 5u);
  EXPECT_EQ(testing::with_class(elements, "counted").size(), 2u);
  EXPECT_EQ(testing::with_class(elements, "twinned_below").size(), 1u);
  EXPECT_EQ(testing::with_class(elements, "untwinned_ok").size(), 1u);
  EXPECT_EQ(testing::with_class(elements, "untwinned_violating").size(), 1u);
  EXPECT_EQ(testing::with_class(elements, "untwinned_violating")[0].attributes.at("data-number"),
            "5");
  EXPECT_EQ(testing::with_class(elements, "shmax").size(), 2u);

  const NetPlace net = page_layout(page_width, page_height).net;
  for (int32_t j = 0; j < 3; ++j) {
    const auto sigma = testing::with_class(elements, "sigma" + std::to_string(j + 1));
    ASSERT_EQ(sigma.size(), 1u);
    const Point expected = net.at(in.sigma[j]);
    EXPECT_NEAR(std::stod(sigma[0].attributes.at("data-x")), expected.x, 0.006);
    EXPECT_NEAR(std::stod(sigma[0].attributes.at("data-y")), expected.y, 0.006);
    EXPECT_EQ(std::stod(sigma[0].attributes.at("data-trend")), in.sigma[j].trend);
    EXPECT_EQ(std::stod(sigma[0].attributes.at("data-plunge")), in.sigma[j].plunge);
  }
  // Markup in a title is escaped, not written through.
  EXPECT_NE(svg.find("Site &lt;A&gt; &amp; B"), std::string::npos);

  const fs::path path = dir_ / "net.svg";
  ASSERT_EQ(write_figure(figure, path.string()), "");
  if (std::system("command -v xmllint >/dev/null 2>&1") == 0) {
    EXPECT_EQ(std::system(("xmllint --noout '" + path.string() + "'").c_str()), 0);
  }
}

TEST_F(FigureFiles, PdfHasOnePageAndPngTheAskedSize) {
  const Figure figure = stress_stereonet(small_net(), page_width, page_height);
  const fs::path pdf = dir_ / "net.PDF";
  ASSERT_EQ(write_figure(figure, pdf.string()), "");
  const std::string info = command_output("pdfinfo '" + pdf.string() + "' 2>/dev/null");
  if (!info.empty()) {
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
    EXPECT_NE(info.find("540 x 360 pts"), std::string::npos) << info;
  }
  for (int32_t dpi : {72, 150}) {
    const fs::path png = dir_ / ("net" + std::to_string(dpi) + ".png");
    ASSERT_EQ(write_figure(figure, png.string(), dpi), "");
    const std::string bytes = read_file(png);
    ASSERT_GT(bytes.size(), 24u);
    auto be32 = [&](std::size_t at) {
      return (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) << 24) |
             (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 16) |
             (static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 8) |
             static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3]));
    };
    EXPECT_EQ(be32(16), static_cast<uint32_t>(540 * dpi / 72));
    EXPECT_EQ(be32(20), static_cast<uint32_t>(360 * dpi / 72));
  }
}

TEST_F(FigureFiles, SameFigureSameBytes) {
  const Figure figure = stress_stereonet(small_net(), page_width, page_height);
  for (const char* name : {"a.svg", "a.pdf", "a.png"}) {
    const fs::path first = dir_ / name;
    const fs::path second = dir_ / (std::string("b") + name);
    ASSERT_EQ(write_figure(figure, first.string(), 100), "");
    ASSERT_EQ(write_figure(figure, second.string(), 100), "");
    EXPECT_EQ(read_file(first), read_file(second)) << name;
  }
}

TEST_F(FigureFiles, UnknownExtensionOrUnwritablePlaceIsAnError) {
  const Figure figure = stress_stereonet(small_net(), page_width, page_height);
  EXPECT_NE(write_figure(figure, (dir_ / "net.jpg").string()), "");
  EXPECT_NE(write_figure(figure, (dir_ / "missing" / "net.svg").string()), "");
  EXPECT_FALSE(fs::exists(dir_ / "net.jpg"));
}

}  // namespace
}  // namespace figures
