// SPDX-License-Identifier: GPL-3.0-or-later
// A document child of the frame, as the frame sees it: it carries out the commands the
// frame forwards, and answers whether it may close.
#pragma once

#include <cstdint>

namespace vozo_qt {

class ChildWindow {
 public:
  virtual ~ChildWindow() = default;
  virtual void command(int32_t id) = 0;
  // Asks the user what to do with unsaved work (the save prompt). True when the window
  // may close: nothing to save, saved, or thrown away. Once it said yes, the window's
  // close goes through without asking again.
  virtual bool confirm_close() = 0;
};

}  // namespace vozo_qt
