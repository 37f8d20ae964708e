// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/graphics.h"

#include <cerrno>

#include "vozo/text_file.h"

namespace vozo {

int32_t effective_mapping_mode(int32_t mode) {
  return mode >= MM_LOMETRIC && mode <= MM_ANISOTROPIC ? mode : MM_TEXT;
}

MappingScale mapping_scale(int32_t mode, double dpi_x, double dpi_y) {
  double units_per_inch = 0.0;
  switch (effective_mapping_mode(mode)) {
    case MM_LOMETRIC:
    case MM_ISOTROPIC:
    case MM_ANISOTROPIC:
      units_per_inch = 254.0;
      break;
    case MM_HIMETRIC:
      units_per_inch = 2540.0;
      break;
    case MM_LOENGLISH:
      units_per_inch = 100.0;
      break;
    case MM_HIENGLISH:
      units_per_inch = 1000.0;
      break;
    case MM_TWIPS:
      units_per_inch = 1440.0;
      break;
    default:
      return MappingScale{};
  }
  return MappingScale{dpi_x / units_per_inch, -dpi_y / units_per_inch};
}

GraphicsOpening GraphicsSlot::open(int32_t width, int32_t height, std::string_view title,
                                   int32_t mode) {
  GraphicsOpening opening;
  if (used_) return opening;
  used_ = true;
  opening.accepted = true;
  if (width == 0 || height == 0) {
    opening.width = graphics_default_width;
    opening.height = graphics_default_height;
  } else {
    opening.width = width;
    opening.height = height;
  }
  const size_t nul = title.find('\0');
  if (nul != std::string_view::npos) title = title.substr(0, nul);
  while (!title.empty() && title.back() == ' ') title.remove_suffix(1);
  opening.title = title.empty() ? std::string("Graphics") : std::string(title);
  opening.mapping_mode = effective_mapping_mode(mode);
  return opening;
}

namespace {

// The bitmap save dialog: the chosen path and the file's name.
bool choose_bitmap_file(const GraphicsDocument& document, Dialogs& dialogs,
                        SaveDirectory& directory, std::string& path, std::string& title) {
  SaveDialogRequest request;
  request.default_title = document.title;
  request.default_path = directory.default_path(document.title);
  if (!dialogs.save_bitmap_dialog(request) || request.path.empty()) return false;
  directory.remember(request.path);
  path = request.path;
  if (!request.file_title.empty()) {
    title = request.file_title;
  } else {
    const size_t slash = request.path.find_last_of('/');
    title = slash == std::string::npos ? request.path : request.path.substr(slash + 1);
  }
  return true;
}

// Only a complete file gives the window its path and title; after a failure the next
// Save asks for a file again.
bool write_bitmap(GraphicsDocument& document, Dialogs& dialogs, BitmapSource& source,
                  const std::string& path, const std::string& title) {
  const std::string bytes = source.capture_bitmap();
  SaveResult result = SaveResult::write_error;
  int reason = 0;  // none when nothing could be captured
  if (!bytes.empty()) {
    result = save_file_bytes(path, bytes);
    reason = errno;
  }
  switch (result) {
    case SaveResult::ok:
      document.path = path;
      document.title = title;
      document.saved = true;
      return true;
    case SaveResult::cannot_create:
    case SaveResult::write_error:
      dialogs.warn(save_failure_text(result, path, reason));
      break;
  }
  document.saved = false;
  return false;
}

}  // namespace

bool graphics_save(GraphicsDocument& document, Dialogs& dialogs, SaveDirectory& directory,
                   BitmapSource& source) {
  if (document.saved || !document.path.empty()) {
    return write_bitmap(document, dialogs, source, document.path, document.title);
  }
  return graphics_save_as(document, dialogs, directory, source);
}

bool graphics_save_as(GraphicsDocument& document, Dialogs& dialogs, SaveDirectory& directory,
                      BitmapSource& source) {
  std::string path;
  std::string title;
  if (!choose_bitmap_file(document, dialogs, directory, path, title)) return false;
  return write_bitmap(document, dialogs, source, path, title);
}

CloseDecision graphics_close_prompt(GraphicsDocument& document, Dialogs& dialogs,
                                    SaveDirectory& directory, BitmapSource& source) {
  if (document.saved) return CloseDecision::close;
  return ask_to_save(document.title, dialogs,
                     [&] { return graphics_save_as(document, dialogs, directory, source); });
}

}  // namespace vozo
