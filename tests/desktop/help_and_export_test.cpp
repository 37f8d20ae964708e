// SPDX-License-Identifier: GPL-3.0-or-later
// The guide's places and the About text; the figure export's formats and messages; the
// status-bar tips of every item of the frame's own menus.
#include <gtest/gtest.h>

#include <set>

#include "desktop/figure_export.h"
#include "desktop/help_texts.h"
#include "desktop/menu_tips.h"
#include "vozo/menus.h"

namespace {

TEST(Guide, BesideTheProgramFirstThenTheInstalledDocumentation) {
  const std::string beside = "/opt/g/bin/user-guide.md";
  const std::string built = "/opt/g/bin/docs/user-guide.md";
  const std::string installed = "/opt/g/bin/../share/doc/gemino/docs/user-guide.md";
  struct Case {
    std::set<std::string> present;
    std::string found;
  };
  const Case cases[] = {
      {{beside, built, installed}, beside},
      {{built, installed}, built},
      {{installed}, installed},
      {{}, ""},
  };
  for (const Case& c : cases) {
    const auto exists = [&](const std::string& p) { return c.present.count(p) > 0; };
    EXPECT_EQ(desktop::find_guide("/opt/g/bin", exists), c.found);
    EXPECT_EQ(desktop::find_guide("/opt/g/bin/", exists), c.found);
  }
}

TEST(Guide, AboutNamesVersionLicenceCitationAndTheGuide) {
  const std::string found =
      desktop::about_text("/usr/share/doc/gemino/docs/user-guide.md", "/usr/bin");
  for (const char* part : {"Gemino 1.2\n", "GPL-3.0-or-later",
                           "To cite:", "User guide: /usr/share/doc/gemino/docs/user-guide.md"}) {
    EXPECT_NE(found.find(part), std::string::npos) << part << " in\n" << found;
  }
  // Without a guide, the places looked at, so that a user can put it there.
  const std::string missing = desktop::about_text("", "/usr/bin");
  EXPECT_NE(missing.find("not found"), std::string::npos) << missing;
  EXPECT_NE(missing.find("\n  /usr/bin/../share/doc/gemino/docs/user-guide.md"), std::string::npos)
      << missing;
}

TEST(FigureExport, FormatFromTheExtensionOnly) {
  using desktop::ExportFormat;
  const std::pair<const char*, ExportFormat> cases[] = {
      {"net.png", ExportFormat::png},         {"NET.PNG", ExportFormat::png},
      {"a/b.c/net.svg", ExportFormat::svg},   {"net.Pdf", ExportFormat::pdf},
      {"net.bmp", ExportFormat::bmp},         {"net.png.txt", ExportFormat::unknown},
      {"net", ExportFormat::unknown},         {".png", ExportFormat::unknown},
      {"dir.png/net", ExportFormat::unknown}, {"net.", ExportFormat::unknown},
      {"net.pngx", ExportFormat::unknown},
  };
  for (const auto& [path, format] : cases) {
    EXPECT_EQ(desktop::export_format(path), format) << path;
  }
  EXPECT_EQ(desktop::with_extension("/d/net", ExportFormat::pdf), "/d/net.pdf");
  EXPECT_EQ(desktop::with_extension("/d/net.SVG", ExportFormat::pdf), "/d/net.SVG");
  EXPECT_EQ(desktop::with_extension("/d/net.tif", ExportFormat::png), "/d/net.tif.png");
}

TEST(FigureExport, StatusMessagesSayWhatWhereAndWhy) {
  using desktop::ExportFormat;
  EXPECT_EQ(desktop::written_message("Stereonet", "/d/net.png", ExportFormat::png, 600),
            "Stereonet written to /d/net.png (PNG, 600 dpi)");
  EXPECT_EQ(desktop::written_message("Grains", "/d/g.svg", ExportFormat::svg, 600),
            "Grains written to /d/g.svg (SVG)");
  EXPECT_EQ(desktop::written_message("Grains", "/d/g.bmp", ExportFormat::bmp, 96),
            "Grains written to /d/g.bmp (BMP, 96 dpi)");
  EXPECT_EQ(desktop::failed_message("Grains", "/x/g.pdf", "no such folder"),
            "Grains not written to /x/g.pdf: no such folder");
  EXPECT_EQ(desktop::unknown_format_reason("/d/net.tif"),
            "\".tif\" is not a figure format; end the name with .png, .svg, .pdf or .bmp");
  EXPECT_EQ(desktop::unknown_format_reason("/d.x/net"),
            "the name has no extension; end the name with .png, .svg, .pdf or .bmp");
}

TEST(MenuTips, EveryItemOfTheFramesMenusHasOne) {
  for (const vozo::MenuEntry& menu : vozo::main_menu()) {
    for (const vozo::MenuItemEntry& item : menu.items) {
      if (item.id == 0) continue;  // a separator
      EXPECT_FALSE(desktop::menu_tip(item.text).empty()) << item.text;
    }
  }
}

TEST(MenuTips, ItemTextsAreReadAsTheMenuShowsThem) {
  const std::pair<const char*, const char*> plain[] = {
      {"Save &As...\tCtrl+Shift+S", "Save As"},
      {"S&hear-stress plot", "Shear-stress plot"},
      {"R&&D", "R&D"},
      {"&1 R&&D.txt", "1 R&D.txt"},
      {"Confidence (&bootstrap)...", "Confidence (bootstrap)"},
      {"trailing &", "trailing"},
  };
  for (const auto& [text, expected] : plain) {
    EXPECT_EQ(desktop::plain_item_text(text), expected) << text;
  }
  EXPECT_EQ(desktop::menu_tip("&2 Stereonet"), "Brings \"Stereonet\" to the front");
  EXPECT_EQ(desktop::menu_tip("12 Run 2 - Input/Output"),
            "Brings \"Run 2 - Input/Output\" to the front");
  EXPECT_EQ(desktop::menu_tip("Unknown item"), "");
  EXPECT_EQ(desktop::menu_tip("2"), "");
}

}  // namespace
