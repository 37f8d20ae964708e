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

void run() {
  results_qt::add_menu_when_run_ends();
  gemino::State& state = gemino::shared_state();
  gemino::run_driver(state);
  if (results::has_result(state))
    vozo_qt::report_run_result(result_summary(results::build_result(state)));
}

}  // namespace

int main(int argc, char** argv) {
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
