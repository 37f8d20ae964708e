// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop session under test: its runs compute the driver on their own state, as the
// program's do (without the Search menu's choice).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "desktop/run_request.h"
#include "desktop_qt/run_session.h"
#include "gemino/driver.h"
#include "harness.h"
#include "results_qt/background_job.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/application.h"
#include "vozo_qt/mdi_frame.h"

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

// The bundled example in a folder of its own, the data file named `data`.
inline std::filesystem::path example_dir(const std::string& data = "data.txt") {
  const std::filesystem::path dir(temp_dir());
  std::filesystem::copy_file(std::filesystem::path(GEMINO_EXAMPLES) / "params.txt",
                             dir / "params.txt");
  std::filesystem::copy_file(std::filesystem::path(GEMINO_EXAMPLES) / "data.txt", dir / data);
  return dir;
}

// Runs the windowed program on params.txt, `data` and report.txt of `dir`, typed into its
// console; once the run has ended, `ended`, then the steps `after_run` adds (when given),
// then Exit, `dialogs` answering No to every save question.
inline void run_typed(const std::filesystem::path& dir, ScriptedDialogs& dialogs,
                      const std::function<void()>& ended,
                      const std::function<void(Script&)>& after_run,
                      const std::string& data = "data.txt") {
  Script script;
  const std::filesystem::path home = std::filesystem::current_path();
  std::filesystem::current_path(dir);
  script.on_read([] { type(console(), "\r"); });
  script.on_read([] { type(console(), "params.txt\r"); });
  script.on_read([data] { type(console(), data + "\r"); });
  script.on_read([] { type(console(), "report.txt\r"); });
  script.when([] { return session()->runs().back()->ended(); }, ended);
  if (after_run) after_run(script);
  script.then([&] {
    // No to saving the console, and to each figure window the steps opened.
    for (qsizetype k = 0; k < frame()->children().size(); ++k) {
      dialogs.answers.push_back(vozo::Answer::no);
    }
    frame()->command(vozo::IDM_EXIT);
  });
  run_session();
  std::filesystem::current_path(home);
  EXPECT_FALSE(script.timed_out());
}

// No computation of the Results menu is running.
inline bool idle() {
  return results_qt::BackgroundJob::current() == nullptr;
}

}  // namespace harness
