// SPDX-License-Identifier: GPL-3.0-or-later
// The workbench around the frame: the Help menu, File > Export figure..., the status-bar
// tip of every menu item, and the settings kept between sessions (last folder, recent
// runs, frame place, console font and colour, CRSS, export resolution). One per frame,
// owned by it.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "desktop/remembered.h"
#include "vozo_qt/console_window.h"

class QAction;
class QMenu;
class QWidget;

namespace vozo_qt {
class Frame;
}

namespace desktop_qt {

// What the export dialog answered: the file and, for a PNG or BMP, the resolution.
struct ExportRequest {
  QString path;
  int32_t dpi = 0;
};
using ExportAsker = std::function<std::optional<ExportRequest>(
    QWidget* parent, const QString& suggested, int32_t dpi)>;

class Workbench final : public QObject {
  Q_OBJECT

 public:
  // crss: the session's CRSS (MPa), set from the settings now and kept at the end.
  Workbench(vozo_qt::Frame& frame, std::unique_ptr<desktop::SettingsStore> store, double* crss);

  desktop::SettingsStore& store() { return *store_; }
  desktop::RunHistory& history() { return history_; }
  QMenu* help_menu() const { return help_; }
  QAction* export_action() const { return export_; }

  int32_t export_dpi() const { return export_dpi_; }
  // Tests answer the export dialog themselves; an empty asker restores the real one.
  void set_export_asker(ExportAsker asker) { asker_ = std::move(asker); }

  // Exports the figure of the active window, asking where; the status bar says what was
  // written where, or why nothing was. True when a file was written.
  bool export_active_figure();

  // Gives every item of the menu its status-bar tip (done whenever a menu opens).
  static void fill_status_tips(QMenu& menu);

  // Keeps the settings now (done when the frame goes).
  void save_settings();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void add_help_menu();
  void add_export_item();
  void update_export_item();
  void window_activated();

  vozo_qt::Frame& frame_;
  std::unique_ptr<desktop::SettingsStore> store_;
  desktop::RunHistory history_;
  double* crss_;
  int32_t export_dpi_;
  ExportAsker asker_;
  QMenu* help_ = nullptr;
  QAction* export_ = nullptr;
  // The console last active: its font and colour are the ones kept.
  QPointer<vozo_qt::ConsoleWindow> last_console_;
  bool saved_ = false;
  // The frame is being destroyed: it is no longer asked anything.
  bool frame_going_ = false;
};

// Adds the workbench to the frame the environment holds (nothing when there is none or it
// has one already), with the settings file as its store. Any thread.
void install_workbench(double& crss);
// The same with a store of the caller's (tests). Window thread.
Workbench* install_workbench(vozo_qt::Frame& frame, std::unique_ptr<desktop::SettingsStore> store,
                             double& crss);

// The workbench of the environment's frame, or nullptr.
Workbench* workbench();

}  // namespace desktop_qt
