#include "vozo_qt/application.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <memory>

#include "recfmt/hooks.h"
#include "recfmt/stop.h"
#include "vozo/bridge.h"
#include "vozo/console_state.h"
#include "vozo_qt/console_hooks.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/frame.h"

namespace vozo_qt {

QString program_title() {
  return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

int32_t run_windowed(void (*computation)()) {
  reset_environment();
  install_hooks();
  Environment& e = env();
  // The default console's entry: every standard unit finds it.
  e.units.register_unit(vozo::default_console_unit);
  auto frame = std::make_unique<Frame>(program_title());
  e.frame = frame.get();
  frame->show();
  const std::string_view title = vozo::console_title;
  open_console(QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size())),
               QRect(15, 15, 600, 300));

  const int32_t code = recfmt::run_program(computation);

  e.frame = nullptr;
  frame.reset();
  reset_environment();
  recfmt::install_console_hooks(recfmt::default_console_hooks());
  return code;
}

}  // namespace vozo_qt
