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
#include "support_qt/quiet_dialogs.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace desktop_test {

using QuietDialogs = qt_test::QuietDialogs;

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
