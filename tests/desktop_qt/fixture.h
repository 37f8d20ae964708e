// SPDX-License-Identifier: GPL-3.0-or-later
// A frame of the windowed environment with the workbench on a store in memory, and
// dialogs that record their warnings instead of showing them.
#pragma once

#include <QApplication>
#include <memory>
#include <string>
#include <vector>

#include "desktop/remembered.h"
#include "desktop_qt/workbench.h"
#include "figures_qt/figure_windows.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace desktop_test {

class QuietDialogs final : public vozo_qt::DialogProvider {
 public:
  QuietDialogs() { vozo_qt::set_dialogs(this); }
  ~QuietDialogs() override { vozo_qt::set_dialogs(nullptr); }
  std::vector<std::string> warnings;
  vozo::Answer ask(std::string_view) override { return vozo::Answer::no; }
  bool save_text_dialog(vozo::SaveDialogRequest&) override { return false; }
  bool save_bitmap_dialog(vozo::SaveDialogRequest&) override { return false; }
  bool file_dialog(vozo::BrowseRequest&) override { return false; }
  void warn(std::string_view text) override { warnings.emplace_back(text); }
  void fatal(std::string_view, std::string_view) override {}
  bool choose_font(QFont&) override { return false; }
  bool choose_color(QColor&) override { return false; }
  void about() override {}
  bool print_setup(QPrinter&) override { return false; }
};

// The frame lives as long as the object; the store is shared with the workbench, so that
// a test can read what it kept and start a second frame on it.
class FrameWithWorkbench {
 public:
  explicit FrameWithWorkbench(std::shared_ptr<desktop::MemoryStore> store, double crss = 10.0);
  ~FrameWithWorkbench();
  vozo_qt::Frame& frame() { return *frame_; }
  desktop_qt::Workbench& bench() { return *bench_; }
  double crss = 10.0;

 private:
  std::unique_ptr<vozo_qt::Frame> frame_;
  desktop_qt::Workbench* bench_ = nullptr;
};

// The example's result, computed once.
std::shared_ptr<const figures_qt::FigureData> example_data();

}  // namespace desktop_test
