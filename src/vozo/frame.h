// The frame's own logic: its menus and accelerators as data, how a command id is
// routed, the count of open console windows, the Exit sequence, the program's own
// menu items and its timers.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "vozo/menu_ids.h"

namespace vozo {

// Caption of the framework's message boxes.
inline constexpr std::string_view message_caption = "VOZO";

// ---- menus --------------------------------------------------------------------
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

// Accelerators: Ctrl+Z, Ctrl+X, Ctrl+C, Ctrl+V and Shift+F5. key_text is in the
// usual "Modifier+Key" notation.
struct AcceleratorEntry {
  std::string_view key_text;
  int32_t id;
};
std::span<const AcceleratorEntry> accelerators();

// ---- arrangement -----------------------------------------------------------------
// Where Cascade puts child number index (from 0) in a client area of the given size,
// step being the height of a title bar: each child one step right of and below the one
// before, all as large as the client area less the run of steps, which takes a third
// of its height at most and then starts again at the corner. So every child stays
// large enough to work in and every title bar shows.
struct ChildRect {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
};
ChildRect cascade_rect(int32_t index, int32_t client_width, int32_t client_height, int32_t step);

// ---- routing of commands --------------------------------------------------------
enum class CommandRoute {
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

// ---- console windows ----------------------------------------------------------------
// Counts the console windows open. The 100th window is one too many: the program
// then stops with window_limit_message.
inline constexpr int32_t console_window_limit = 100;
inline constexpr std::string_view window_limit_message = "Maximun window allowed to open is 100 ";
class WindowCount {
 public:
  // A console window was created; false when that reached the limit.
  bool opened() { return ++open_ < console_window_limit; }
  void closed() {
    if (open_ > 0) --open_;
  }
  int32_t open() const { return open_; }

 private:
  int32_t open_ = 0;
};

// ---- Exit -------------------------------------------------------------------------
// What the Exit sequence needs of the frame.
class ExitHost {
 public:
  virtual ~ExitHost() = default;
  virtual int32_t open_window_count() = 0;
  virtual bool has_active_child() = 0;
  // Asks the active child to close (a console asks whether to save). False when the
  // user chose to keep it.
  virtual bool close_active_child() = 0;
  // With no active child: asks some remaining child to close. Returns nothing when no
  // child is left; otherwise as close_active_child.
  enum class CloseResult { closed, kept, none_left };
  virtual CloseResult close_some_child() = 0;
  // Ends the frame: the quit request is posted.
  virtual void destroy_frame() = 0;
  virtual bool computation_ended() = 0;
  // Stops the computation as a blank STOP would.
  virtual void stop_computation() = 0;
};
enum class ExitResult { cancelled, quit };
// Closes every child in turn, each with its prompt; a Cancel stops there and keeps
// what is still open. Otherwise the frame ends and the computation is stopped.
ExitResult run_exit_sequence(ExitHost& host);

// ---- the program's own menu items ---------------------------------------------
// The callback receives the item's checked state (1 or 0).
using MenuCallback = void (*)(int32_t& checked);
class UserMenuTable {
 public:
  static constexpr int32_t capacity = 500;  // ids 800 .. 1299

  // Takes the next id for callback; 0 when every id is taken.
  int32_t add(MenuCallback callback);
  int32_t next_id() const { return next_id_; }
  // Calls the callback of id with the item's checked state; false when id has none.
  bool dispatch(int32_t id, int32_t& checked) const;

 private:
  std::array<MenuCallback, capacity> callbacks_{};
  int32_t next_id_ = first_user_menu_id;
};

// ---- timers ---------------------------------------------------------------------
using TimerCallback = void (*)();
class TimerSlots {
 public:
  static constexpr int32_t capacity = 100;

  // Takes the first free slot for timer id (nonzero); a running id keeps its slot and
  // gets the new callback. False when every slot is taken or id is 0.
  bool start(int32_t id, TimerCallback callback);
  // Frees the slot of id.
  void stop(int32_t id);
  // Calls the callback of every slot holding id.
  void fire(int32_t id) const;
  int32_t count() const { return count_; }
  void clear();

 private:
  struct Slot {
    int32_t id = 0;
    TimerCallback callback = nullptr;
  };
  std::array<Slot, capacity> slots_{};
  int32_t count_ = 0;
};

}  // namespace vozo
