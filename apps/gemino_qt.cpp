// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program: the same computation as the terminal program, its console being
// the "Input/Output" window of the frame, run on a thread of its own; File > New run...
// starts more runs, each in a console of its own. The command line is not used.
#include <QApplication>
#include <atomic>
#include <optional>
#include <string>

#include "bootstrap/indistinct.h"
#include "bootstrap/resampling.h"
#include "gemino/search_choice.h"

#include "desktop_qt/run_session.h"
#include "desktop_qt/workbench.h"
#include "figures/result_figures.h"
#include "gemino/driver.h"
#include "recfmt/hooks.h"
#include "results/magnitudes.h"
#include "results/result_model.h"
#include "safe_file/interrupt_cleanup.h"
#include "vozo/menus.h"
#include "vozo_qt/application.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"
#include "vozo_qt/program_api.h"

namespace {

// The result in the figures' notation, its magnitudes for the run's CRSS.
std::string result_summary(const results::Result& r, double crss_mpa) {
  return figures::result_line(r, results::stress_magnitudes(r, crss_mpa));
}

// The session's choice of search (Search > Converged search): a run takes it when its data
// are read, and the next run of the session finds it as it was left.
std::atomic<bool>& converged_chosen() {
  static std::atomic<bool> chosen{false};
  return chosen;
}

// The Search menu's position (from 1): just before "Window", which stays last, until the
// end of the run adds the Results menu ahead of it.
int32_t search_menu() {
  return static_cast<int32_t>(vozo::main_menu().size());
}

// The frame leaves the ticking of a program's item to the program: `checked` is the
// item's state before this choice.
void choose_converged(int32_t& checked) {
  const bool chosen = checked == 0;
  converged_chosen().store(chosen);
  vozo_qt::CheckMenuItemAt(search_menu(), 1, chosen ? vozo_qt::MF_CHECKED : 0);
}

gemino::SearchMode chosen_mode() {
  return converged_chosen().load() ? gemino::SearchMode::converged : gemino::SearchMode::classic;
}

// The run's search: the converged answer when the session chose it, else the file's.
std::optional<gemino::SearchOverride> chosen_search(const gemino::State& s) {
  // The run has taken the choice: changing it now would not change the report.
  vozo_qt::EnableMenuItemAt(search_menu(), 1, vozo_qt::MF_GRAYED);
  if (chosen_mode() != gemino::SearchMode::converged) return std::nullopt;
  return gemino::converged_choice(gemino::ConvergedOptions(), 0, nullptr)(s);
}

// The result for the status bar, with what a converged search of the run's data says of
// the report's tensor.
std::string status_text(const gemino::State& state, double crss_mpa) {
  const results::Result r = results::build_result(state);
  std::string text = result_summary(r, crss_mpa);
  const gemino::ConvergedOptions options;
  const gemino::ConvergedResult search = bootstrap::search_run_data(
      bootstrap::run_input(state), options, [](gemino::ProgressStage, int32_t, int32_t) {
        // The run is ending already: Exit ends the check.
        const vozo::ComputationBridge* b = vozo_qt::env().bridge;
        return b == nullptr || !b->stop_requested();
      });
  if (search.status != gemino::InversionStatus::done) return text;
  const std::string said = gemino::search_status_text(
      chosen_mode(), r.result.objective_reported_units, search, options.tolerance);
  return said.empty() ? text : text + " \u2014 " + said;
}

void add_run_menu() {
  // Before the "Window" menu, which stays last.
  if (!vozo_qt::InsertMenuEntry(search_menu() - 1, 0, 0, "&Search", nullptr)) return;
  vozo_qt::AddMenuItem(search_menu(), vozo_qt::MF_CHECKED, "&Converged search", choose_converged);
  vozo_qt::CheckMenuItemAt(search_menu(), 1, converged_chosen().load() ? vozo_qt::MF_CHECKED : 0);
}

// On the run's thread once its driver has stopped: what the status bar says of the
// result. The next run may choose its search again.
std::string run_summary(const gemino::State& state, int32_t exit_code, double crss_mpa) {
  vozo_qt::EnableMenuItemAt(search_menu(), 1, 0);
  if (exit_code != 0 || !results::has_result(state)) return {};
  return status_text(state, crss_mpa);
}

}  // namespace

int main(int argc, char** argv) {
  // A signal while an export or a save is being written leaves no unfinished file.
  safe_file::install_interrupt_cleanup();
  recfmt::open_closed_standard_streams();
  QApplication app(argc, argv);
  // Lets the desktop match the windows to the installed launcher entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("gemino"));
  desktop_qt::RunSession* session = nullptr;
  // The CRSS remembered from the last session.
  double remembered_crss = results::default_crss_mpa;
  return vozo_qt::run_frame(
      [&session, &remembered_crss](vozo_qt::Frame& frame) {
        add_run_menu();
        desktop_qt::install_workbench(remembered_crss);
        desktop_qt::SessionOptions options;
        options.body = [](gemino::State& state) { gemino::run_driver(state, chosen_search); };
        // The run's CRSS: the one its dialog gave, or the one remembered.
        options.summary = [&remembered_crss](const gemino::State& state, int32_t exit_code) {
          return run_summary(state, exit_code, remembered_crss);
        };
        options.crss = &remembered_crss;
        session = new desktop_qt::RunSession(frame, std::move(options));
        // The first run's console asks its questions at once, as it always did.
        session->start_typed_run();
      },
      [&session] { return session != nullptr ? session->exit_code() : 0; });
}
