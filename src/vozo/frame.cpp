#include "vozo/frame.h"

#include <algorithm>

namespace vozo {

namespace {

constexpr MenuItemEntry file_items[] = {
    {IDM_SAVE, "&Save"},
    {IDM_SAVEAS, "Save As..."},
    {0, ""},
    {IDM_PRINT, "Print..."},
    {0, ""},
    {IDM_ABOUT, "&About..."},
    {0, ""},
    {IDM_EXIT, "E&xit"},
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
    {"File", file_items},
    {"Edit", edit_items},
    {"Format", format_items},
    {"Window", window_items},
};
constexpr AcceleratorEntry accelerator_table[] = {
    {"Ctrl+Z", IDM_UNDO},  {"Ctrl+X", IDM_CUT},       {"Ctrl+C", IDM_COPY},
    {"Ctrl+V", IDM_PASTE}, {"Shift+F5", IDM_CASCADE},
};

}  // namespace

std::span<const MenuEntry> main_menu() {
  return menus;
}
std::span<const AcceleratorEntry> accelerators() {
  return accelerator_table;
}

ChildRect cascade_rect(int32_t index, int32_t client_width, int32_t client_height, int32_t step) {
  const int32_t steps = step > 0 ? client_height / (3 * step) : 0;
  const int32_t span = step * steps;
  const int32_t offset = step * (index % (steps + 1));
  return ChildRect{offset, offset, std::max(1, client_width - span),
                   std::max(1, client_height - span)};
}

CommandRoute route_command(int32_t id, int32_t next_user_id) {
  switch (id) {
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

ExitResult run_exit_sequence(ExitHost& host) {
  // Each turn closes one window or ends the sequence; the bound only guards against
  // a host whose windows refuse to go away.
  for (int32_t turn = 0; turn < 4 * console_window_limit; ++turn) {
    if (host.open_window_count() <= 0) break;
    if (host.has_active_child()) {
      if (!host.close_active_child()) return ExitResult::cancelled;
      continue;
    }
    // Windows open but none active: close the remaining ones in turn.
    const ExitHost::CloseResult result = host.close_some_child();
    if (result == ExitHost::CloseResult::kept) return ExitResult::cancelled;
    if (result == ExitHost::CloseResult::none_left) break;
  }
  host.destroy_frame();
  if (!host.computation_ended()) host.stop_computation();
  return ExitResult::quit;
}

int32_t UserMenuTable::add(MenuCallback callback) {
  if (next_id_ >= first_user_menu_id + capacity) return 0;
  const int32_t id = next_id_++;
  callbacks_[static_cast<size_t>(id - first_user_menu_id)] = callback;
  return id;
}

bool UserMenuTable::dispatch(int32_t id, int32_t& checked) const {
  if (id < first_user_menu_id || id >= next_id_) return false;
  const MenuCallback callback = callbacks_[static_cast<size_t>(id - first_user_menu_id)];
  if (callback == nullptr) return false;
  callback(checked);
  return true;
}

bool TimerSlots::start(int32_t id, TimerCallback callback) {
  if (id == 0) return false;
  for (Slot& slot : slots_) {
    if (slot.id == id) {
      slot.callback = callback;
      return true;
    }
  }
  for (Slot& slot : slots_) {
    if (slot.id == 0) {
      slot = Slot{id, callback};
      ++count_;
      return true;
    }
  }
  return false;
}

void TimerSlots::stop(int32_t id) {
  if (id == 0) return;
  for (Slot& slot : slots_) {
    if (slot.id == id) {
      slot = Slot{};
      --count_;
    }
  }
}

void TimerSlots::fire(int32_t id) const {
  if (id == 0) return;
  for (const Slot& slot : slots_) {
    if (slot.id == id && slot.callback != nullptr) slot.callback();
  }
}

void TimerSlots::clear() {
  slots_.fill(Slot{});
  count_ = 0;
}

}  // namespace vozo
