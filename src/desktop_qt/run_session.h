// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program's session: its runs one after the other, each in its own console,
// and the commands that start and stop them (File > New run..., Run again, Stop, a Stop
// button beside the progress bar, Esc in a run's console). The Results menu acts on the
// run whose window is active, else on the latest.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/run_request.h"
#include "desktop_qt/desktop_run.h"
#include "gemino/state.h"

class QAction;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolButton;

namespace vozo_qt {
class Frame;
}

namespace desktop_qt {

struct SessionOptions {
  // What a run computes on its thread, on its own state.
  std::function<void(gemino::State& state)> body;
  // On the run's thread once the body has stopped: the status bar's summary of the
  // result ("" for none).
  std::function<std::string(const gemino::State& state, int32_t exit_code)> summary;
  // Where a relative parameter file is taken, and where the first run works.
  std::string start_folder;
  // The CRSS remembered between sessions, or nullptr: the typed run and the first
  // dialog start from it, and each dialog's choice becomes it.
  double* crss = nullptr;
  // Replaces the New run dialog (tests): the request, or nothing when cancelled.
  std::function<std::optional<desktop::RunRequest>(const desktop::RunRequest& last)> ask;
};

class RunSession final : public QObject {
 public:
  // Adds the File menu's run items, the Stop button and the Results menu to frame.
  RunSession(vozo_qt::Frame& frame, SessionOptions options);
  ~RunSession() override;

  // The first run: its console waits for answers typed by the user.
  DesktopRun* start_typed_run();
  // A run from the dialog's answers, typed into a fresh console. nullptr (and the status
  // bar says why) when a run is going or the request cannot run; a run still waiting for
  // its file names is stopped and the new one starts once it has ended (nullptr too).
  DesktopRun* start_run(const desktop::RunRequest& request);
  // File > New run...: the dialog, then the run.
  void new_run();
  // File > Run again: the last run's names again (the dialog when none was given).
  void run_again();
  // Stop: the run going stops at its next progress report.
  void stop();

  bool running() const;
  const std::vector<std::unique_ptr<DesktopRun>>& runs() const { return runs_; }
  DesktopRun* selected() const { return selected_; }
  // The program's exit code: not 0 when the session ended a run or a computation early.
  int32_t exit_code() const;

 private:
  DesktopRun* launch(DesktopRun& run);
  void tick();
  void run_ended(DesktopRun& run);
  void select(DesktopRun* run);
  void window_activated(QMdiSubWindow* window);
  bool may_exit();

  vozo_qt::Frame& frame_;
  // The frame is being destroyed: it is no longer asked anything.
  bool frame_going_ = false;
  SessionOptions options_;
  std::vector<std::unique_ptr<DesktopRun>> runs_;
  DesktopRun* selected_ = nullptr;
  std::optional<desktop::RunRequest> last_request_;
  // The run to start once the one set aside for it has ended.
  std::optional<desktop::RunRequest> pending_;
  // Where the dialog's Browse opens: the last folder a file was chosen in.
  std::string last_folder_;
  QPointer<QMenu> results_menu_;
  QAction* run_again_ = nullptr;
  QAction* stop_ = nullptr;
  QToolButton* stop_button_ = nullptr;
  QTimer* timer_ = nullptr;
  bool ended_early_ = false;
  int32_t last_exit_code_ = 0;
};

}  // namespace desktop_qt
