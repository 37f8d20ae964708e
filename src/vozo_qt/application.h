// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the windowed program: hooks, frame, the "Input/Output" console, then the
// computation on a thread of its own.
#pragma once

#include <QIcon>
#include <QString>
#include <cstdint>
#include <functional>

namespace vozo_qt {

// The frame's title: the program file's name.
QString program_title();

// The program's icon for the frame and its children.
QIcon application_icon();

class ConsoleWindow;
class Frame;

// The windowed environment: hooks, the frame, then `start`, which opens the consoles and
// starts the runs. Returns once the frame has ended and no run is going, with what
// exit_code then says (0 when it is empty).
int32_t run_frame(const std::function<void(Frame&)>& start,
                  const std::function<int32_t()>& exit_code);

// A run's console, where the first one always stood, moved down and right by `step`
// title bars or so, so that a later run's console leaves the earlier ones' titles seen.
ConsoleWindow* open_default_console(const QString& title, int32_t step = 0);

// Runs computation inside the windowed environment and returns the exit code of the
// stop that ended it. Needs a QApplication.
int32_t run_windowed(void (*computation)());

}  // namespace vozo_qt
