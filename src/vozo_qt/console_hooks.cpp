// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/console_hooks.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <cstring>
#include <string>

#include "recfmt/hooks.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "vozo/bridge.h"
#include "vozo/computation_bridge.h"
#include "vozo/exit_sequence.h"
#include "vozo_qt/browse_command.h"
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

vozo::ComputationBridge* bridge() {
  return env().bridge;
}

}  // namespace

void on_window_thread(const std::function<void()>& action) {
  QCoreApplication* app = QCoreApplication::instance();
  if (app == nullptr || QThread::currentThread() == app->thread()) {
    action();
    return;
  }
  QMetaObject::invokeMethod(app, action, Qt::BlockingQueuedConnection);
}

void stop_if_requested() {
  vozo::ComputationBridge* b = bridge();
  if (b == nullptr || b->ended()) return;
  // The frame is gone: Exit asks for the stop right after, and nothing could be shown.
  if (b->quitting()) b->request_stop();
  if (b->claim_stop()) recfmt::stop(0);
}

void request_stop() {
  if (vozo::ComputationBridge* b = bridge()) b->request_stop();
}

void request_quit() {
  env().quit_requested = true;
  if (vozo::ComputationBridge* b = bridge()) b->quit();
}

int32_t ConsoleRead(char* buffer, int32_t capacity, int32_t unit_id) {
  stop_if_requested();
  vozo::ComputationBridge* b = bridge();
  if (b == nullptr || capacity < 2) return 0;
  std::string line;
  switch (b->read(unit_id, capacity, line)) {
    case vozo::ComputationBridge::ReadStatus::line: {
      const auto count = static_cast<int32_t>(std::min<std::size_t>(line.size(), capacity));
      std::memcpy(buffer, line.data(), static_cast<std::size_t>(count));
      return count;
    }
    case vozo::ComputationBridge::ReadStatus::no_window:
      WindowHandlerError();
      return 0;
    case vozo::ComputationBridge::ReadStatus::stopped:
      break;
  }
  stop_if_requested();
  // The frame went away without a stop: an end of input ends the run just the same.
  return 0;
}

int32_t ConsoleWrite(const char* bytes, int32_t count, int32_t, int32_t unit_id) {
  stop_if_requested();
  vozo::ComputationBridge* b = bridge();
  if (b == nullptr) return 0;
  if (!b->write(unit_id, std::string_view(bytes, static_cast<std::size_t>(count)))) {
    stop_if_requested();
  }
  return count;
}

void PumpMessages() {
  stop_if_requested();
}

void show_end_status() {
  Environment& e = env();
  if (e.frame == nullptr) return;
  if (e.run_summary.empty()) {
    e.frame->show_status(QStringLiteral("The run has ended."));
    return;
  }
  QString text = QStringLiteral("The run finished.");
  if (!e.dialogue.report_name().empty()) {
    text += QStringLiteral(" Report: %1.").arg(QString::fromStdString(e.dialogue.report_name()));
  }
  e.frame->show_status(text + QLatin1Char(' ') + QString::fromStdString(e.run_summary));
}

void ProgramEnd(int32_t) {
  vozo::ComputationBridge* b = bridge();
  if (b == nullptr || b->ended()) return;
  b->mark_ended();
  // The window thread learns of the end after the last record is shown. The transcript
  // stays on screen, to be scrolled, saved and printed, as long as its window is open.
  b->post([] {
    Environment& e = env();
    e.end.mark_ended();
    if (e.frame == nullptr) return;
    e.frame->computation_ended();
    show_end_status();
  });
}

int32_t OpenUnitWindow(int32_t unit_id, std::string_view title, std::string_view access) {
  int32_t result = 0;
  bool within_limit = true;
  on_window_thread([&] {
    Environment& e = env();
    if (!e.units.register_unit(unit_id)) {
      // The table only grows: a run that has used up every entry cannot open another
      // window unit, and the OPEN fails.
      dialogs().warn("Too many window units: a run can open at most 99.");
      result = 1;
      return;
    }
    if (unit_id <= 0) return;
    const vozo::WindowSize size = vozo::parse_window_access(access);
    const QRect geometry = size.use_default ? QRect() : QRect(-1, -1, size.width, size.height);
    const std::string_view name = trim_right(title);
    open_console(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())), geometry,
                 &within_limit);
  });
  if (!within_limit) SystemError(vozo::window_limit_message, 0);
  return result;
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
  vozo::ComputationBridge* b = bridge();
  if (b != nullptr && !b->ended()) recfmt::write_list(recfmt::star, {"error code = ", code});
  on_window_thread([&] { dialogs().fatal("System Error", text); });
  request_quit();
  request_stop();
  stop_if_requested();
}

void WindowHandlerError() {
  on_window_thread(
      [] { dialogs().fatal("Window Handler Error", "Not a valid window, program exited."); });
  request_quit();
  request_stop();
  stop_if_requested();
}

void drain_requests() {
  vozo::ComputationBridge* b = bridge();
  if (b == nullptr) return;
  Environment& e = env();
  for (vozo::ConsoleRequest& request : b->take_requests()) {
    switch (request.kind) {
      case vozo::ConsoleRequest::Kind::output: {
        ConsoleWindow* window = console_of(request.unit);
        if (window == nullptr) {
          // Output for a window that is gone ends the run.
          request_quit();
          request_stop();
          break;
        }
        std::size_t begin = 0;
        for (const std::size_t end : request.ends) {
          const std::string_view record =
              std::string_view(request.bytes).substr(begin, end - begin);
          window->append_output(record);
          if (request.unit < 0) e.dialogue.record(record);
          begin = end;
        }
        break;
      }
      case vozo::ConsoleRequest::Kind::read: {
        ConsoleWindow* window = console_of(request.unit);
        if (window == nullptr) {
          b->answer_no_window();
        } else {
          window->begin_read(request.capacity);
        }
        break;
      }
      case vozo::ConsoleRequest::Kind::action:
        if (request.action) request.action();
        break;
    }
  }
  update_browse_item();
}

ConsoleWindow* open_console(const QString& title, const QRect& geometry, bool* within_limit) {
  Environment& e = env();
  auto* window = new ConsoleWindow(title, e.save_directory);
  e.units.attach_last(&window->state());
  e.consoles.insert(&window->state(), window);
  // A closed or destroyed window no longer receives its unit's records; a read it was
  // waiting for finds no window.
  QObject::connect(window, &ConsoleWindow::closed, [](ConsoleWindow* closed) {
    env().units.detach(&closed->state());
    env().windows.closed();
    update_browse_item();
    // Asked once the command that closed it is over: when that was Exit, the stop it
    // requested ends the read instead.
    if (closed->reading()) {
      QMetaObject::invokeMethod(
          QCoreApplication::instance(),
          [] {
            if (env().bridge != nullptr && !env().bridge->stop_requested()) {
              env().bridge->answer_no_window();
            }
          },
          Qt::QueuedConnection);
    }
  });
  QObject::connect(window, &QObject::destroyed, [state = &window->state()] {
    env().units.detach(state);
    env().consoles.remove(state);
  });
  QObject::connect(window, &ConsoleWindow::line_entered, [](const QByteArray& line) {
    if (env().bridge != nullptr) env().bridge->answer(line.toStdString());
    update_browse_item();
  });
  if (e.frame != nullptr) {
    QObject::connect(window, &ConsoleWindow::item_enabled_changed, e.frame,
                     &Frame::set_item_enabled);
    QObject::connect(window, &ConsoleWindow::text_not_kept, e.frame, [frame = e.frame] {
      frame->show_notice(QString::fromLatin1(store_full_notice));
    });
    e.frame->add_child(window, title, geometry);
  }
  const bool ok = e.windows.opened();
  if (within_limit != nullptr) *within_limit = ok;
  return window;
}

}  // namespace vozo_qt
