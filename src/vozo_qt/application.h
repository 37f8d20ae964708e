// Start-up of the windowed program: hooks, frame, the "Input/Output" console, then the
// computation, run once on this thread.
#pragma once

#include <QIcon>
#include <QString>
#include <cstdint>

namespace vozo_qt {

// The frame's title: the program file's name.
QString program_title();

// The program's icon for the frame and its children.
QIcon application_icon();

// Runs computation inside the windowed environment and returns the exit code of the
// stop that ended it. Needs a QApplication.
int32_t run_windowed(void (*computation)());

}  // namespace vozo_qt
