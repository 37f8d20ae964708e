// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/application.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QIcon>
#include <QMetaObject>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <QTimer>
#include <memory>
#include <thread>
#include <utility>

#include "recfmt/hooks.h"
#include "recfmt/stop.h"
#include "vozo/bridge.h"
#include "vozo/computation_bridge.h"
#include "vozo/console_state.h"
#include "vozo_qt/computation_thread.h"
#include "vozo_qt/console_hooks.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"
#include "vozo_qt/run_progress.h"

namespace vozo_qt {

QString program_title() {
  return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

// The program's icon, drawn as the installed scalable one is: a twinned grain squeezed
// between two stress arrows. Drawn here so that no image plugin is needed.
QIcon application_icon() {
  QPixmap pixmap(64, 64);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x3b, 0x5c));
  p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
  p.setPen(QPen(QColor(0x0d, 0x1b, 0x2a), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(QColor(0xec, 0xe4, 0xcf));
  p.drawPolygon(QPolygon({QPoint(17, 46), QPoint(25, 16), QPoint(47, 18), QPoint(39, 48)}));
  p.setPen(QPen(QColor(0x8a, 0x73, 0x52), 2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(24, 44, 31, 18);
  p.drawLine(29, 45, 36, 19);
  p.drawLine(34, 46, 41, 20);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd9, 0x41, 0x2b));
  p.drawPolygon(QPolygon({QPoint(5, 29), QPoint(11, 29), QPoint(11, 25), QPoint(17, 32),
                          QPoint(11, 39), QPoint(11, 35), QPoint(5, 35)}));
  p.drawPolygon(QPolygon({QPoint(59, 29), QPoint(53, 29), QPoint(53, 25), QPoint(47, 32),
                          QPoint(53, 39), QPoint(53, 35), QPoint(59, 35)}));
  p.end();
  return QIcon(pixmap);
}

namespace {

// The status bar and the pointer follow the computation's reports a few times a second.
void show_progress() {
  Environment& e = env();
  if (e.frame == nullptr || e.end.ended()) return;
  bool reading = false;
  for (ConsoleWindow* console : std::as_const(e.consoles)) reading = reading || console->reading();
  e.frame->set_busy(!reading);
  const ProgressReport report = latest_progress();
  if (report.what == nullptr) return;
  e.frame->show_progress(QStringLiteral("%1 %2 of %3")
                             .arg(QLatin1String(report.what))
                             .arg(report.done)
                             .arg(report.total),
                         report.done, report.total);
}

}  // namespace

int32_t run_frame(const std::function<void(Frame&)>& start,
                  const std::function<int32_t()>& exit_code) {
  QApplication::setWindowIcon(application_icon());
  reset_environment();
  reset_progress();
  Environment& e = env();
  QEventLoop loop;
  install_hooks();
  auto frame = std::make_unique<Frame>(program_title());
  e.frame = frame.get();
  frame->show();
  // Asked for, so that the menus' keys work from the start even where no window manager
  // gives the new frame the focus.
  frame->activateWindow();

  // The frame ends the program once it is gone and no run is going.
  QTimer progress_timer;
  QObject::connect(&progress_timer, &QTimer::timeout, [&loop] {
    show_progress();
    if (env().quit_requested && !env().computing) loop.quit();
  });
  progress_timer.start(100);
  start(*frame);
  loop.exec();
  progress_timer.stop();
  drain_requests();
  const int32_t code = exit_code ? exit_code() : 0;

  e.frame = nullptr;
  frame.reset();
  reset_environment();
  recfmt::install_console_hooks(recfmt::default_console_hooks());
  return code;
}

ConsoleWindow* open_default_console(const QString& title, int32_t step) {
  const int32_t shift = 24 * step;
  return open_console(title, QRect(15 + shift, 15 + shift, 600, 300));
}

int32_t run_windowed(void (*computation)()) {
  ComputationThread* run = nullptr;
  return run_frame(
      [&](Frame& frame) {
        const std::string_view title = vozo::console_title;
        ConsoleWindow* console = open_default_console(
            QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size())));
        run = new ComputationThread(&frame);
        run->start(console, computation, {}, {});
      },
      [&] { return run != nullptr ? run->exit_code() : 0; });
}

}  // namespace vozo_qt
