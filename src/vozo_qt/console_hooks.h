// The six hooks through which the computation's console units reach the console
// windows, the framework's two fatal error boxes, and the opening of console windows.
//
// The computation runs on the window system's thread: a read waits in a nested event
// loop, a write appends and lets pending events run. A stop requested from inside event
// processing (Exit while a read waits) is carried out once that processing has returned
// to the hook, so that the stop's exception never crosses the window system's dispatch.
#pragma once

#include <QRect>
#include <QString>
#include <cstdint>
#include <string_view>

namespace vozo_qt {

class ConsoleWindow;

int32_t ConsoleRead(char* buffer, int32_t capacity, int32_t unit_id);
int32_t ConsoleWrite(const char* bytes, int32_t count, int32_t handle, int32_t unit_id);
void ProgramEnd(int32_t exit_code);
void PumpMessages();
int32_t OpenUnitWindow(int32_t unit_id, std::string_view title, std::string_view access);
int32_t CloseUnitWindow(int32_t unit_id);

// Replaces the record layer's console hooks with the six above.
void install_hooks();

// Fatal error of the framework: "System Error found! ..." box, then the computation
// stops with a blank STOP.
void SystemError(std::string_view name, int32_t code);
// A read from a unit whose window is gone.
void WindowHandlerError();

// Creates a console child of the frame, attached to the unit registered last. An empty
// geometry lets the frame place it; a geometry at -1, -1 gives only its size.
ConsoleWindow* open_console(const QString& title, const QRect& geometry);

// Ends the computation: at once when it is running (the stop unwinds it), or as soon
// as the event processing now under way has returned to a hook.
void request_stop();

}  // namespace vozo_qt
