// SPDX-License-Identifier: GPL-3.0-or-later
// Command ids of the frame menu. The frame handles Browse, About, Exit and the window
// arrangement itself and forwards every other id from 500 up to the active child.
#pragma once

#include <cstdint>

namespace vozo {

enum MenuId : int32_t {
  IDM_SAVE = 500,
  IDM_SAVEAS = 501,
  IDM_BROWSE = 502,
  IDM_PRINT = 510,
  IDM_ABOUT = 520,
  IDM_EXIT = 530,
  IDM_UNDO = 600,
  IDM_CUT = 610,
  IDM_COPY = 611,
  IDM_PASTE = 612,
  IDM_DELETE = 613,
  IDM_FONT = 650,
  IDM_COLOR = 651,
  IDM_TILEVERT = 700,
  IDM_TILEHORZ = 701,
  IDM_CASCADE = 702,
  IDM_ARRANGE = 703,
};

// Ids from here on belong to menu items the program adds at run time.
inline constexpr int32_t first_user_menu_id = 800;
// The Window menu lists the open children from this id on.
inline constexpr int32_t first_child_window_id = 100;

}  // namespace vozo
