// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/menus.h"

namespace vozo {

namespace {

constexpr MenuItemEntry file_items[] = {
    {IDM_BROWSE, "&Browse...\tCtrl+O"},
    {0, ""},
    {IDM_SAVE, "&Save\tCtrl+S"},
    {IDM_SAVEAS, "Save &As...\tCtrl+Shift+S"},
    {0, ""},
    {IDM_PRINT, "&Print...\tCtrl+P"},
    {0, ""},
    {IDM_ABOUT, "Abou&t..."},
    {0, ""},
    {IDM_EXIT, "E&xit\tCtrl+Q"},
};
constexpr MenuItemEntry edit_items[] = {
    {IDM_UNDO, "&Undo\tCtrl+Z"},   {0, ""},
    {IDM_CUT, "Cu&t\tCtrl+X"},     {IDM_COPY, "&Copy\tCtrl+C"},
    {IDM_PASTE, "&Paste\tCtrl+V"}, {IDM_DELETE, "De&lete"},
};
constexpr MenuItemEntry format_items[] = {
    {IDM_FONT, "&Font..."},
    {IDM_COLOR, "&Color"},
};
constexpr MenuItemEntry window_items[] = {
    {IDM_CASCADE, "&Cascade\tShift+F5"},
    {IDM_TILEHORZ, "Tile &Horizontally"},
    {IDM_TILEVERT, "Tile &Vertically"},
    {IDM_ARRANGE, "&Arrange Icons"},
};
constexpr MenuEntry menus[] = {
    {"&File", file_items},
    {"&Edit", edit_items},
    {"F&ormat", format_items},
    {"&Window", window_items},
};
constexpr AcceleratorEntry accelerator_table[] = {
    {"Ctrl+Z", IDM_UNDO},         {"Ctrl+X", IDM_CUT},       {"Ctrl+C", IDM_COPY},
    {"Ctrl+V", IDM_PASTE},        {"Shift+F5", IDM_CASCADE}, {"Ctrl+S", IDM_SAVE},
    {"Ctrl+Shift+S", IDM_SAVEAS}, {"Ctrl+P", IDM_PRINT},     {"Ctrl+Q", IDM_EXIT},
    {"Ctrl+O", IDM_BROWSE},
};

}  // namespace

std::span<const MenuEntry> main_menu() {
  return menus;
}
std::span<const AcceleratorEntry> accelerators() {
  return accelerator_table;
}

CommandRoute route_command(int32_t id, int32_t next_user_id) {
  switch (id) {
    case IDM_BROWSE:
      return CommandRoute::browse;
    case IDM_ABOUT:
      return CommandRoute::about;
    case IDM_EXIT:
      return CommandRoute::exit;
    case IDM_CASCADE:
      return CommandRoute::cascade;
    case IDM_TILEHORZ:
      return CommandRoute::tile_horizontally;
    case IDM_TILEVERT:
      return CommandRoute::tile_vertically;
    case IDM_ARRANGE:
      return CommandRoute::arrange_icons;
    default:
      break;
  }
  if (id >= first_user_menu_id && id < next_user_id) return CommandRoute::user_item;
  if (id >= 0xF000) return CommandRoute::system;
  if (id >= 500) return CommandRoute::child_command;
  return CommandRoute::child_activate;
}

}  // namespace vozo
