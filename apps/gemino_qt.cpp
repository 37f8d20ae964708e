// The desktop program: the same computation as the terminal program, its console being
// the "Input/Output" window of the frame. The command line is not used.
#include <QApplication>

#include "gemino/driver.h"
#include "recfmt/hooks.h"
#include "results_qt/results_menu.h"
#include "vozo_qt/application.h"

int main(int argc, char** argv) {
  recfmt::open_closed_standard_streams();
  QApplication app(argc, argv);
  // Lets the desktop match the windows to the installed launcher entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("gemino"));
  return vozo_qt::run_windowed([] {
    results_qt::add_menu_when_run_ends();
    gemino::run_driver(gemino::shared_state());
  });
}
