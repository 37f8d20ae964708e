// The desktop program: the same computation as the terminal program, its console being
// the "Input/Output" window of the frame, run on a thread of its own. The command line
// is not used.
#include <QApplication>
#include <cstdio>
#include <string>

#include "gemino/driver.h"
#include "gemino/progress.h"
#include "recfmt/hooks.h"
#include "results/result_model.h"
#include "results_qt/results_menu.h"
#include "safe_file/interrupt_cleanup.h"
#include "vozo_qt/application.h"
#include "vozo_qt/run_progress.h"

namespace {

// "σ1 150/12, σ3 ... R = 0.43": the optimised tensor as the status bar names it.
std::string result_summary(const results::Result& r) {
  char text[160];
  std::snprintf(text, sizeof text, "\u03c31 %.0f/%.0f, \u03c33 %.0f/%.0f, R = %.2f",
                static_cast<double>(r.result.sigma1.line.trend),
                static_cast<double>(r.result.sigma1.line.plunge),
                static_cast<double>(r.result.sigma3.line.trend),
                static_cast<double>(r.result.sigma3.line.plunge), static_cast<double>(r.result.R));
  return text;
}

// The driver ends with its own stop, which waits there until the frame ends: the
// summary is reported from the program end, ahead of the hooks that show the end.
recfmt::ConsoleHooks& hooks_before() {
  static recfmt::ConsoleHooks hooks;
  return hooks;
}

void end_of_run(int32_t exit_code) {
  const gemino::State& state = gemino::shared_state();
  if (exit_code == 0 && results::has_result(state))
    vozo_qt::report_run_result(result_summary(results::build_result(state)));
  hooks_before().program_end(exit_code);
}

void run() {
  results_qt::add_menu_when_run_ends();
  hooks_before() = recfmt::console_hooks();
  recfmt::ConsoleHooks hooks = hooks_before();
  hooks.program_end = end_of_run;
  recfmt::install_console_hooks(hooks);
  gemino::run_driver(gemino::shared_state());
}

}  // namespace

int main(int argc, char** argv) {
  // A signal while an export or a save is being written leaves no unfinished file.
  safe_file::install_interrupt_cleanup();
  recfmt::open_closed_standard_streams();
  QApplication app(argc, argv);
  // Lets the desktop match the windows to the installed launcher entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("gemino"));
  // The status bar shows the run's stage; Exit during the search stops it here.
  gemino::set_progress_hook([](gemino::ProgressStage stage, int32_t done, int32_t total) {
    vozo_qt::report_progress(
        stage == gemino::ProgressStage::starting_tensors ? "starting tensors" : "search step", done,
        total);
  });
  return vozo_qt::run_windowed(run);
}
