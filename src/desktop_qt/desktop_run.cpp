// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_qt/desktop_run.h"

#include <utility>

#include "vozo/line_store.h"

namespace desktop_qt {

DesktopRun::DesktopRun(int32_t number, std::optional<desktop::RunRequest> request,
                       const std::string& base, QObject* parent)
    : QObject(parent),
      number_(number),
      request_(std::move(request)),
      folder_(request_ ? desktop::working_folder(*request_, base) : base),
      state_(std::make_unique<gemino::State>()) {
  gemino::reset_state(*state_);
  results_.state = state_.get();
  if (request_) {
    results_.crss = request_->crss_mpa;
    for (std::string& line : desktop::console_answers(*request_, base)) {
      answers_.push_back(std::move(line));
    }
  }
}

void DesktopRun::type_answer() {
  if (answers_.empty() || console_ == nullptr || !console_->reading()) return;
  const std::string line = std::move(answers_.front());
  answers_.pop_front();
  console_->enter_line(line);
}

std::string DesktopRun::finish(const std::string& report_name,
                               const std::vector<std::string>& file_names) {
  answers_.clear();
  results_.ended = true;
  // A run from the dialog knows its report's name itself: the dialogue's record of it may
  // be gone when the frame is closing.
  const std::string name = report_name.empty() && request_ ? request_->report_file : report_name;
  report_path_ = name.empty() ? std::string() : desktop::resolved_name(name, folder_);
  results_.report_path = report_path_;
  // Whatever the run read or wrote: nothing the Results menu saves goes over one of them.
  for (const std::string& file : file_names) {
    if (!file.empty()) results_.run_files.push_back(desktop::resolved_name(file, folder_));
  }
  if (!report_path_.empty()) results_.run_files.push_back(report_path_);
  const desktop::RunEnd how =
      desktop::run_end(state_->record.completed, thread_.bridge().stop_requested());
  end_ = how;
  if (console_ != nullptr) console_->close_input();
  if (how == desktop::RunEnd::completed || set_aside_) return {};
  const bool marked = desktop::mark_incomplete(report_path_);
  std::vector<std::string> shown;
  if (console_ != nullptr) {
    const vozo::LineStore& store = console_->state().store();
    for (int32_t k = 1; k <= store.line_count(); ++k) shown.emplace_back(store.line(k));
  }
  return desktop::end_status(how, marked ? name : std::string(), desktop::failure_place(shown));
}

}  // namespace desktop_qt
