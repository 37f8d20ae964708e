// SPDX-License-Identifier: GPL-3.0-or-later
// Framework-wide state: one instance for the process, shared by the frame, the console
// windows and the hooks that connect the computation's console units to them.
#pragma once

#include <QHash>
#include <cstdint>
#include <string>

#include "vozo/bridge.h"
#include "vozo/computation_bridge.h"
#include "vozo/dialogue_watch.h"
#include "vozo/exit_sequence.h"
#include "vozo/graphics.h"
#include "vozo/pagination.h"
#include "vozo/program_menu.h"
#include "vozo/save_commands.h"
#include "vozo_qt/program_timers.h"

namespace vozo_qt {

class ConsoleWindow;
class Frame;

struct Environment {
  Frame* frame = nullptr;
  // Which console window each unit of the computation reads and writes.
  vozo::UnitWindowTable units;
  // Console windows currently open (the graphics window is not counted).
  vozo::WindowCount windows;
  // The computation has stopped (its end hook ran).
  vozo::EndFlag end;
  // The frame was destroyed: the program ends once the computation has.
  bool quit_requested = false;
  // Where the computation's requests arrive: the bridge of the run started last.
  vozo::ComputationBridge* bridge = nullptr;
  // A run's thread is going.
  bool computing = false;
  // The default console's dialogue: its file questions and the report's name.
  vozo::DialogueWatch dialogue;
  // What the program said of its result at the end of the run (empty: nothing).
  std::string run_summary;
  // The widget of each console the unit table names.
  QHash<const vozo::ConsoleState*, ConsoleWindow*> consoles;
  // Shared by all save dialogs: the next one starts in the last directory used.
  vozo::SaveDirectory save_directory;
  // Shared by all print dialogs: where printing to a file is proposed.
  vozo::PrintFolder print_folder;
  // The one graphics window a run may open.
  vozo::GraphicsSlot graphics;
  vozo::UserMenuTable user_menu;
  ProgramTimers timers;
};

Environment& env();

// The console window of a unit, or nullptr.
ConsoleWindow* console_of(int32_t unit_id);

// Clears the state for a fresh start (used at start-up and by tests).
void reset_environment();

}  // namespace vozo_qt
