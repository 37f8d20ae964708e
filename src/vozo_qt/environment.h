// Framework-wide state: one instance for the process, shared by the frame, the console
// windows and the hooks that connect the computation's console units to them.
#pragma once

#include <cstdint>

#include "vozo/bridge.h"
#include "vozo/exit_sequence.h"
#include "vozo/graphics.h"
#include "vozo/program_menu.h"
#include "vozo/save_commands.h"
#include "vozo_qt/program_timers.h"

namespace vozo_qt {

class Frame;

struct Environment {
  Frame* frame = nullptr;
  // Which console window each unit of the computation reads and writes.
  vozo::UnitWindowTable units;
  // Console windows currently open (the graphics window is not counted).
  vozo::WindowCount windows;
  // The computation has stopped (its end hook ran).
  vozo::EndFlag end;
  // The frame was destroyed: every loop of the hooks returns.
  bool quit_requested = false;
  // The computation must stop as soon as control is back on its side of the hooks:
  // no exception may travel through the window system's event dispatch.
  bool stop_requested = false;
  // Nesting depth of event processing started by the hooks: 0 while the computation
  // itself runs.
  int32_t dispatch_depth = 0;
  // Shared by all save dialogs: the next one starts in the last directory used.
  vozo::SaveDirectory save_directory;
  // The one graphics window a run may open.
  vozo::GraphicsSlot graphics;
  vozo::UserMenuTable user_menu;
  ProgramTimers timers;
};

Environment& env();

// Clears the state for a fresh start (used at start-up and by tests).
void reset_environment();

}  // namespace vozo_qt
