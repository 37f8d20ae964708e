// SPDX-License-Identifier: GPL-3.0-or-later
// The graphics window's logic: the one window a run may open, its size and title,
// how its mapping mode scales a drawing, and its Save, Save As and close question.
// The capture itself (pixels of the window) is the widget's; it hands them over
// through BitmapSource.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "vozo/save_commands.h"
#include "vozo/user_prompts.h"

namespace vozo {

// Mapping modes a drawing routine may ask for.
enum MappingMode : int32_t {
  MM_TEXT = 1,
  MM_LOMETRIC = 2,
  MM_HIMETRIC = 3,
  MM_LOENGLISH = 4,
  MM_HIENGLISH = 5,
  MM_TWIPS = 6,
  MM_ISOTROPIC = 7,
  MM_ANISOTROPIC = 8,
};
// Modes 2 to 8 stand; anything else paints in pixels.
int32_t effective_mapping_mode(int32_t mode);

// Device pixels per logical unit along x and y for a mode on a device of the given
// resolution (dots per inch). Every mode but MM_TEXT measures y upward, so its
// y scale is negative. The isotropic and anisotropic modes start with the extents
// of MM_LOMETRIC (a tenth of a millimetre).
struct MappingScale {
  double x = 1.0;
  double y = 1.0;
};
MappingScale mapping_scale(int32_t mode, double dpi_x, double dpi_y);

// What a request to open the graphics window comes to.
struct GraphicsOpening {
  bool accepted = false;
  int32_t width = 0;
  int32_t height = 0;
  std::string title;
  int32_t mapping_mode = MM_TEXT;
};
inline constexpr int32_t graphics_default_width = 600;
inline constexpr int32_t graphics_default_height = 300;

// One graphics window per run: once opened, later requests are refused, also after
// the window was closed.
class GraphicsSlot {
 public:
  // title is the program's text of title_length characters (up to a NUL).
  GraphicsOpening open(int32_t width, int32_t height, std::string_view title, int32_t mode);
  bool used() const { return used_; }

 private:
  bool used_ = false;
};

// Writes the window's current picture as a bitmap file.
class BitmapSource {
 public:
  virtual ~BitmapSource() = default;
  // The file's bytes (bmp_file of the capture); empty when no capture could be had.
  virtual std::string capture_bitmap() = 0;
};

// Per graphics window: its title and whether it has been saved.
struct GraphicsDocument {
  std::string title;
  std::string path;
  bool saved = false;
};

// Save: asks for a path unless the window was saved before. Save As: always asks.
// True when the file was written; the title becomes the file's name. Failures are
// reported in a "VOZO" box and leave the window unsaved, with its title and file as
// they were.
bool graphics_save(GraphicsDocument& document, Dialogs& dialogs, SaveDirectory& directory,
                   BitmapSource& source);
bool graphics_save_as(GraphicsDocument& document, Dialogs& dialogs, SaveDirectory& directory,
                      BitmapSource& source);
// Closing: nothing to ask once saved; Yes saves (and keeps the window when that did
// not happen), No closes, Cancel keeps.
CloseDecision graphics_close_prompt(GraphicsDocument& document, Dialogs& dialogs,
                                    SaveDirectory& directory, BitmapSource& source);

}  // namespace vozo
