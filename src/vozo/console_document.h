// SPDX-License-Identifier: GPL-3.0-or-later
// A console window as a document to be saved: its title, the file it was last saved
// to and whether its text changed since. The text itself is the ConsoleState's.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "vozo/console_state.h"

namespace vozo {

class ConsoleDocument {
 public:
  // A new window counts as modified until its first save.
  explicit ConsoleDocument(const ConsoleState& console,
                           std::string title = std::string(console_title))
      : console_(console), title_(std::move(title)) {}
  ConsoleDocument(const ConsoleDocument&) = delete;
  ConsoleDocument& operator=(const ConsoleDocument&) = delete;

  const ConsoleState& console() const { return console_; }
  const LineStore& store() const { return console_.store(); }

  // Whether the text changed since the last save (Save is enabled then).
  bool modified() const { return !saved_ || console_.revision() != saved_revision_; }
  // The text was written to the window's file.
  void mark_saved() {
    saved_ = true;
    saved_revision_ = console_.revision();
  }
  bool named() const { return named_; }
  const std::string& file_name() const { return file_name_; }
  // The window now has a file: path for Save, title shown (the file's name).
  void set_file(std::string path, std::string title);
  const std::string& title() const { return title_; }
  // The title offered by save dialogs: "Untitled" for the program's console.
  std::string default_title() const;

 private:
  const ConsoleState& console_;
  std::string title_;
  bool saved_ = false;
  uint64_t saved_revision_ = 0;
  bool named_ = false;
  std::string file_name_;
};

}  // namespace vozo
