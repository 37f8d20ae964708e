#include "vozo_qt/console_hooks.h"

#include <QCoreApplication>
#include <QEvent>
#include <string>

#include "recfmt/hooks.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "vozo/bridge.h"
#include "vozo/exit_sequence.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"

namespace vozo_qt {
namespace {

std::string_view trim_right(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.remove_suffix(1);
  return s;
}

// Lets the window system deliver events; wait blocks until at least one arrived.
void process_events(bool wait) {
  Environment& e = env();
  ++e.dispatch_depth;
  QCoreApplication::processEvents(wait ? QEventLoop::WaitForMoreEvents : QEventLoop::AllEvents);
  --e.dispatch_depth;
  if (e.dispatch_depth == 0) {
    // Children closed during the processing are deleted here, where none of their
    // handlers can still be on the stack.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// Carries out a stop that was asked for while events were being processed.
void stop_if_requested() {
  Environment& e = env();
  if (!e.stop_requested || e.dispatch_depth > 0) return;
  e.stop_requested = false;
  if (!e.end.ended()) recfmt::stop(0);
}

}  // namespace

void request_stop() {
  Environment& e = env();
  if (e.end.ended()) return;
  e.stop_requested = true;
  stop_if_requested();
}

int32_t ConsoleRead(char* buffer, int32_t capacity, int32_t unit_id) {
  Environment& e = env();
  if (vozo::ConsoleState* window = e.units.lookup(unit_id)) window->set_waiting_for_line(true);
  while (!e.quit_requested && !e.stop_requested) {
    const vozo::ConsoleState* window = e.units.lookup(unit_id);
    if (window == nullptr || !window->waiting_for_line()) break;
    process_events(true);
  }
  stop_if_requested();
  vozo::ConsoleState* window = e.units.lookup(unit_id);
  if (window == nullptr) {
    WindowHandlerError();
    // Only reached when the stop must wait for event processing to return: an end of
    // input ends the run just the same.
    return 0;
  }
  return window->take_input_line(buffer, capacity);
}

int32_t ConsoleWrite(const char* bytes, int32_t count, int32_t, int32_t unit_id) {
  Environment& e = env();
  vozo::ConsoleState* window = e.units.lookup(unit_id);
  if (window == nullptr) {
    e.quit_requested = true;
    return 0;
  }
  window->append_output(std::string_view(bytes, static_cast<std::size_t>(count)));
  PumpMessages();
  return count;
}

void PumpMessages() {
  process_events(false);
  stop_if_requested();
}

void ProgramEnd(int32_t) {
  Environment& e = env();
  if (!e.end.mark_ended()) return;
  e.stop_requested = false;
  // The transcript stays on screen, to be scrolled, saved and printed, until the user
  // ends the frame.
  while (!e.quit_requested) process_events(true);
}

int32_t OpenUnitWindow(int32_t unit_id, std::string_view title, std::string_view access) {
  Environment& e = env();
  if (!e.units.register_unit(unit_id)) {
    // The table only grows: a run that has used up every entry cannot open another
    // window unit, and the OPEN fails.
    dialogs().warn("Too many window units: a run can open at most 99.");
    return 1;
  }
  if (unit_id <= 0) return 0;
  const vozo::WindowSize size = vozo::parse_window_access(access);
  const QRect geometry = size.use_default ? QRect() : QRect(-1, -1, size.width, size.height);
  const std::string_view name = trim_right(title);
  open_console(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())), geometry);
  return 0;
}

int32_t CloseUnitWindow(int32_t) {
  return 0;
}

void install_hooks() {
  recfmt::install_console_hooks(recfmt::ConsoleHooks{
      ConsoleRead, ConsoleWrite, ProgramEnd, PumpMessages, OpenUnitWindow, CloseUnitWindow});
}

void SystemError(std::string_view name, int32_t code) {
  const std::string text =
      "System Error found! \"" + std::string(trim_right(name)) + "\", program stop";
  if (!env().end.ended()) recfmt::write_list(recfmt::star, {"error code = ", code});
  dialogs().fatal("System Error", text);
  env().quit_requested = true;
  request_stop();
}

void WindowHandlerError() {
  dialogs().fatal("Window Handler Error", "Not a valid window, program exited.");
  env().quit_requested = true;
  request_stop();
}

ConsoleWindow* open_console(const QString& title, const QRect& geometry) {
  Environment& e = env();
  auto* window = new ConsoleWindow(title, e.save_directory);
  e.units.attach_last(&window->state());
  // A closed or destroyed window no longer receives its unit's records.
  QObject::connect(window, &ConsoleWindow::closed, [](ConsoleWindow* closed) {
    env().units.detach(&closed->state());
    env().windows.closed();
  });
  QObject::connect(window, &QObject::destroyed,
                   [state = &window->state()] { env().units.detach(state); });
  if (e.frame != nullptr) {
    QObject::connect(window, &ConsoleWindow::item_enabled_changed, e.frame,
                     &Frame::set_item_enabled);
    e.frame->add_child(window, title, geometry);
  }
  if (!e.windows.opened()) SystemError(vozo::window_limit_message, 0);
  return window;
}

}  // namespace vozo_qt
