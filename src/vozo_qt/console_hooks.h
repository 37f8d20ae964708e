// SPDX-License-Identifier: GPL-3.0-or-later
// The six hooks through which the computation's console units reach the console
// windows, the framework's two fatal error boxes, and the opening of console windows.
//
// The computation runs on a thread of its own. Its hooks never touch a window: records
// and read requests travel in order through the computation bridge, and whatever must
// be done to a window (opening one, the program's menu items) is run on the window
// thread while the computation waits. A stop requested on the window thread (Exit) is
// carried out by the computation at its next hook or progress report, as a blank STOP.
#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <functional>
#include <string_view>

namespace vozo_qt {

class ConsoleWindow;

int32_t ConsoleRead(char* buffer, int32_t capacity, int32_t unit_id);
int32_t ConsoleWrite(const char* bytes, int32_t count, int32_t handle, int32_t unit_id);
void ProgramEnd(int32_t exit_code);
void PumpMessages();
int32_t OpenUnitWindow(int32_t unit_id, std::string_view title, std::string_view access);
int32_t CloseUnitWindow(int32_t unit_id);

// The status bar's word on the run that ended: the summary it left, if any.
void show_end_status();

// Replaces the record layer's console hooks with the six above.
void install_hooks();

// Fatal error of the framework: "System Error found! ..." box, then the computation
// stops with a blank STOP. Called on the computation's thread.
void SystemError(std::string_view name, int32_t code);
// A read from a unit whose window is gone. Called on the computation's thread.
void WindowHandlerError();

// Creates a console child of the frame, attached to the unit registered last. An empty
// geometry lets the frame place it; a geometry at -1, -1 gives only its size. Sets
// within_limit to false when this window is one too many. Window thread only.
ConsoleWindow* open_console(const QString& title, const QRect& geometry,
                            bool* within_limit = nullptr);

// Runs action on the window thread and waits for it (at once when already there).
void on_window_thread(const std::function<void()>& action);

// Takes what the computation queued and carries it out. Window thread only.
void drain_requests();

// Ends the computation: it stops at its next hook or progress report.
void request_stop();
// Releases the computation from its last wait: the frame is gone.
void request_quit();

// From the computation's thread: carries out a requested stop now (throws the stop).
void stop_if_requested();

}  // namespace vozo_qt
