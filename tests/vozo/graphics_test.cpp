// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/graphics.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "scripted_dialogs.h"

namespace vozo {
namespace {

namespace fs = std::filesystem;

TEST(GraphicsWindow, OneWindowPerRunWithDefaultSizeAndTitle) {
  GraphicsSlot slot;
  const GraphicsOpening first = slot.open(0, 200, std::string_view("Stereo  \0junk", 13), 9);
  EXPECT_TRUE(first.accepted);
  EXPECT_EQ(first.width, 600);
  EXPECT_EQ(first.height, 300);
  EXPECT_EQ(first.title, "Stereo");
  EXPECT_EQ(first.mapping_mode, MM_TEXT);
  EXPECT_FALSE(slot.open(400, 400, "Again", MM_TEXT).accepted);
  EXPECT_FALSE(slot.open(400, 400, "Again", MM_TEXT).accepted);

  struct Case {
    int32_t width, height;
    const char* title;
    int32_t mode;
    int32_t want_width, want_height;
    const char* want_title;
    int32_t want_mode;
  };
  const Case cases[] = {
      {400, 250, "Plot", MM_TWIPS, 400, 250, "Plot", MM_TWIPS},
      {400, 0, "", 0, 600, 300, "Graphics", MM_TEXT},
      {10, 20, "   ", MM_ANISOTROPIC, 10, 20, "Graphics", MM_ANISOTROPIC},
      {10, 20, "x", MM_LOMETRIC, 10, 20, "x", MM_LOMETRIC},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.title);
    GraphicsSlot fresh;
    const GraphicsOpening opening = fresh.open(c.width, c.height, c.title, c.mode);
    EXPECT_TRUE(opening.accepted);
    EXPECT_EQ(opening.width, c.want_width);
    EXPECT_EQ(opening.height, c.want_height);
    EXPECT_EQ(opening.title, c.want_title);
    EXPECT_EQ(opening.mapping_mode, c.want_mode);
  }
}

TEST(GraphicsWindow, MappingModesScaleToDevicePixelsWithYUp) {
  struct Case {
    int32_t mode;
    double x, y;
  };
  // On a 254 x 127 dpi device.
  const Case cases[] = {
      {MM_TEXT, 1.0, 1.0},
      {0, 1.0, 1.0},
      {9, 1.0, 1.0},
      {MM_LOMETRIC, 1.0, -0.5},
      {MM_HIMETRIC, 0.1, -0.05},
      {MM_LOENGLISH, 2.54, -1.27},
      {MM_HIENGLISH, 0.254, -0.127},
      {MM_TWIPS, 254.0 / 1440, -127.0 / 1440},
      {MM_ISOTROPIC, 1.0, -0.5},
      {MM_ANISOTROPIC, 1.0, -0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    const MappingScale scale = mapping_scale(c.mode, 254.0, 127.0);
    EXPECT_DOUBLE_EQ(scale.x, c.x);
    EXPECT_DOUBLE_EQ(scale.y, c.y);
  }
}

class FixedPicture : public BitmapSource {
 public:
  std::string capture_bitmap() override { return bytes; }
  std::string bytes = "BM-picture";
};

class GraphicsSaving : public ::testing::Test {
 protected:
  GraphicsSaving() { document.title = "Graphics"; }
  std::string read(const fs::path& path) { return testing::read_file(path); }
  testing::TempDir temp;
  const fs::path& dir = temp.path();
  GraphicsDocument document;
  testing::ScriptedDialogs dialogs;
  SaveDirectory directory;
  FixedPicture picture;
};

TEST_F(GraphicsSaving, SaveAsksOnceThenWritesToTheSameFile) {
  dialogs.chosen_path = (dir / "plot.bmp").string();
  EXPECT_TRUE(graphics_save(document, dialogs, directory, picture));
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].default_path, "Graphics");
  EXPECT_EQ(document.title, "plot.bmp");
  EXPECT_TRUE(document.saved);
  EXPECT_EQ(read(dir / "plot.bmp"), "BM-picture");
  picture.bytes = "BM-second";
  EXPECT_TRUE(graphics_save(document, dialogs, directory, picture));
  EXPECT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(read(dir / "plot.bmp"), "BM-second");
  // Closing a saved window asks nothing.
  EXPECT_EQ(graphics_close_prompt(document, dialogs, directory, picture), CloseDecision::close);
  EXPECT_TRUE(dialogs.questions.empty());
}

TEST_F(GraphicsSaving, FailuresAreReportedAndTheProgramGoesOn) {
  dialogs.chosen_path = (dir / "missing" / "plot.bmp").string();
  EXPECT_FALSE(graphics_save_as(document, dialogs, directory, picture));
  // The file and the system's reason.
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"Cannot create file " + dialogs.chosen_path +
                                                       ": No such file or directory"});
  EXPECT_FALSE(document.saved);
  // The window keeps its title and no file: Save asks again.
  EXPECT_EQ(document.title, "Graphics");
  EXPECT_TRUE(document.path.empty());
  picture.bytes.clear();  // no capture
  dialogs.chosen_path = (dir / "plot.bmp").string();
  EXPECT_FALSE(graphics_save_as(document, dialogs, directory, picture));
  EXPECT_EQ(dialogs.warnings.back(), "I/O error while writing file");
  EXPECT_FALSE(fs::exists(dir / "plot.bmp"));
}

TEST_F(GraphicsSaving, ClosePromptAnswers) {
  for (const testing::ClosePromptCase& c : testing::close_prompt_cases) {
    SCOPED_TRACE(static_cast<int>(c.answer) * 10 + c.dialog_confirms);
    GraphicsDocument doc{"Graphics", "", false};
    testing::ScriptedDialogs dlg;
    dlg.answer = c.answer;
    if (c.dialog_confirms) dlg.chosen_path = (dir / "close.bmp").string();
    EXPECT_EQ(graphics_close_prompt(doc, dlg, directory, picture), c.decision);
    EXPECT_EQ(dlg.questions, std::vector<std::string>{"Save changes to Graphics?"});
    EXPECT_EQ(fs::exists(dir / "close.bmp"), c.written);
    fs::remove(dir / "close.bmp");
  }
}

}  // namespace
}  // namespace vozo
