// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's menus and accelerators as data, and how a command id is routed.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "vozo/menu_ids.h"

namespace vozo {

// One item of a top-level menu; id 0 is a separator. In texts, \t separates the
// item from the accelerator shown beside it.
struct MenuItemEntry {
  int32_t id;
  std::string_view text;
};
struct MenuEntry {
  std::string_view title;
  std::span<const MenuItemEntry> items;
};
// File, Edit, Format and Window, in that order; the Window menu (index 3) also
// lists the open children.
std::span<const MenuEntry> main_menu();
inline constexpr int32_t window_menu_index = 3;

// Accelerators: Ctrl+Z, Ctrl+X, Ctrl+C, Ctrl+V, Shift+F5 and the common ones of the
// File menu (Ctrl+O, Ctrl+S, Ctrl+Shift+S, Ctrl+P, Ctrl+Q). key_text is in the usual
// "Modifier+Key" notation.
struct AcceleratorEntry {
  std::string_view key_text;
  int32_t id;
};
std::span<const AcceleratorEntry> accelerators();

enum class CommandRoute {
  browse,
  about,
  exit,
  cascade,
  tile_horizontally,
  tile_vertically,
  arrange_icons,
  user_item,       // a menu item the program added: call its callback
  child_command,   // 500 and up: sent to the active child as a command
  child_activate,  // below 500 (the Window menu's list): activates that child
  system,          // 0xF000 and up: left to the window system
};
// next_user_id is the id the next program item would get.
CommandRoute route_command(int32_t id, int32_t next_user_id);

}  // namespace vozo
