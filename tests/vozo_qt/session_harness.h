// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop session under test: its runs compute the driver on their own state, as the
// program's do (without the Search menu's choice).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "desktop/run_request.h"
#include "desktop_qt/run_session.h"
#include "gemino/driver.h"
#include "vozo_qt/application.h"

namespace harness {

// The session of the frame running now (nullptr outside run_session).
inline desktop_qt::RunSession*& session() {
  static desktop_qt::RunSession* s = nullptr;
  return s;
}

// Runs the frame with a session whose first run's console waits for typed answers (when
// `typed_first`); `ask` stands for the New run dialog. Returns the program's exit code.
inline int32_t run_session(
    bool typed_first = true,
    std::function<std::optional<desktop::RunRequest>(const desktop::RunRequest&)> ask = {}) {
  const int32_t code = vozo_qt::run_frame(
      [&](vozo_qt::Frame& frame) {
        desktop_qt::SessionOptions options;
        options.body = [](gemino::State& state) { gemino::run_driver(state); };
        options.ask = ask;
        session() = new desktop_qt::RunSession(frame, std::move(options));
        if (typed_first) session()->start_typed_run();
      },
      [] { return session()->exit_code(); });
  session() = nullptr;
  return code;
}

}  // namespace harness
