// SPDX-License-Identifier: GPL-3.0-or-later
// The seam through which the window logic asks the user something. The widgets
// implement it with real dialogs; tests answer from a script.
#pragma once

#include <string>
#include <string_view>

namespace vozo {

// Caption of the framework's message boxes.
inline constexpr std::string_view message_caption = "VOZO";

enum class Answer { yes, no, cancel };

// A save dialog's request and result.
struct SaveDialogRequest {
  std::string default_path;   // directory of the last save, then the default title
  std::string default_title;  // caption of the text dialog
  std::string path;           // out: the chosen path
  std::string file_title;     // out: its name without directory
};

// Browse's file dialog: where it opens and what it asks for.
struct BrowseRequest {
  bool save = false;      // the report to write (overwrite question) or a file to read
  std::string directory;  // the folder it opens in
  std::string path;       // out: the chosen file
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Yes/No/Cancel question, caption "VOZO".
  virtual Answer ask(std::string_view text) = 0;
  // Text save dialog ("Text Files (*.txt)", suffix txt, overwrite prompt). True when
  // the user confirmed a path.
  virtual bool save_text_dialog(SaveDialogRequest& request) = 0;
  // Bitmap save dialog ("BitMap Files (*.bmp)", suffix bmp, overwrite prompt, the
  // system's own caption). True when the user confirmed a path.
  virtual bool save_bitmap_dialog(SaveDialogRequest& /*request*/) { return false; }
  // The platform's open or save dialog. True when the user chose a file.
  virtual bool file_dialog(BrowseRequest& /*request*/) { return false; }
  // A message box captioned "VOZO" with an exclamation icon.
  virtual void warn(std::string_view text) = 0;
};

}  // namespace vozo
