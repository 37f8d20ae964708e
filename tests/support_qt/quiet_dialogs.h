// SPDX-License-Identifier: GPL-3.0-or-later
// Dialogs for tests of the windows: none is shown; questions get `answer`, file dialogs
// are cancelled, and warnings are kept for the test to read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "vozo_qt/dialog_provider.h"

namespace qt_test {

class QuietDialogs final : public vozo_qt::DialogProvider {
 public:
  explicit QuietDialogs(vozo::Answer answer = vozo::Answer::no) : answer_(answer) {
    vozo_qt::set_dialogs(this);
  }
  ~QuietDialogs() override { vozo_qt::set_dialogs(nullptr); }
  QuietDialogs(const QuietDialogs&) = delete;
  QuietDialogs& operator=(const QuietDialogs&) = delete;

  std::vector<std::string> warnings;

  vozo::Answer ask(std::string_view) override { return answer_; }
  bool save_text_dialog(vozo::SaveDialogRequest&) override { return false; }
  bool save_bitmap_dialog(vozo::SaveDialogRequest&) override { return false; }
  bool file_dialog(vozo::BrowseRequest&) override { return false; }
  void warn(std::string_view text) override { warnings.emplace_back(text); }
  void fatal(std::string_view, std::string_view) override {}
  bool choose_font(QFont&) override { return false; }
  bool choose_color(QColor&) override { return false; }
  void about() override {}
  bool print_setup(QPrinter&) override { return false; }

 private:
  vozo::Answer answer_;
};

}  // namespace qt_test
