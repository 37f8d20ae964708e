// SPDX-License-Identifier: GPL-3.0-or-later
// One run of the desktop program: its state, its console, the thread it computes on,
// what the Results menu keeps for it, and how it ended. Runs are kept for the whole
// session: their consoles and figures stay to be looked at.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "desktop/run_end.h"
#include "desktop/run_request.h"
#include "gemino/state.h"
#include "results_qt/run_results.h"
#include "vozo_qt/computation_thread.h"
#include "vozo_qt/console_window.h"

namespace desktop_qt {

class DesktopRun final : public QObject {
 public:
  // Run `number` (from 1); request is empty for a run whose answers are typed in its
  // console, which works in `base`. A requested run works in its parameter file's folder,
  // a relative parameter file being taken in base.
  DesktopRun(int32_t number, std::optional<desktop::RunRequest> request, const std::string& base,
             QObject* parent = nullptr);

  int32_t number() const { return number_; }
  const std::optional<desktop::RunRequest>& request() const { return request_; }
  const std::string& folder() const { return folder_; }
  gemino::State& state() { return *state_; }
  results_qt::RunResults& results() { return results_; }
  vozo_qt::ComputationThread& thread() { return thread_; }
  vozo_qt::ConsoleWindow* console() const { return console_; }
  void set_console(vozo_qt::ConsoleWindow* console) { console_ = console; }

  // The answers still to be typed, one per read of the console.
  std::deque<std::string>& answers() { return answers_; }
  // Types the next answer when the console waits for one.
  void type_answer();

  // Stopped while it still waited for its file names, for a New run to take its place:
  // it wrote nothing and its end is not one the user has to be told of.
  void set_aside() { set_aside_ = true; }
  bool is_set_aside() const { return set_aside_; }

  bool ended() const { return end_.has_value(); }
  desktop::RunEnd end() const { return end_.value_or(desktop::RunEnd::completed); }
  // The run's thread has ended: the report's name as the dialogue took it and what the
  // console showed decide how. Marks an unfinished report; returns the status text.
  // file_names: every name the dialogue took, kept with the report's as the run's own files.
  std::string finish(const std::string& report_name,
                     const std::vector<std::string>& file_names = {});
  // The report's path, "" before the dialogue reached it.
  const std::string& report_path() const { return report_path_; }

 private:
  int32_t number_;
  std::optional<desktop::RunRequest> request_;
  std::string folder_;
  std::unique_ptr<gemino::State> state_;
  results_qt::RunResults results_;
  vozo_qt::ComputationThread thread_;
  QPointer<vozo_qt::ConsoleWindow> console_;
  std::deque<std::string> answers_;
  std::optional<desktop::RunEnd> end_;
  std::string report_path_;
  bool set_aside_ = false;
};

}  // namespace desktop_qt
