// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file of the desktop program (organisation "Gemino", program "gemino"; on
// Linux $XDG_CONFIG_HOME/Gemino/gemino.conf), and what of the frame and its consoles it
// keeps: the frame's place, the consoles' font and text colour.
#pragma once

#include <QSettings>
#include <optional>

#include "desktop/remembered.h"

namespace vozo_qt {
class ConsoleWindow;
}
class QWidget;

namespace desktop_qt {

class QtSettingsStore final : public desktop::SettingsStore {
 public:
  QtSettingsStore();
  std::optional<std::string> value(std::string_view key) const override;
  void set_value(std::string_view key, std::string_view value) override;
  void remove(std::string_view key) override;
  // Writes what changed to the file now.
  void flush() { settings_.sync(); }

 private:
  QSettings settings_;
};

// Puts the frame where the last session left it, fitted to its screen (a first start gets
// a size that suits the screen).
void restore_frame_place(QWidget& frame, const desktop::SettingsStore& store);
void save_frame_place(const QWidget& frame, desktop::SettingsStore& store);

// The console font and text colour of the last session, when there are any.
void apply_console_style(vozo_qt::ConsoleWindow& console, const desktop::SettingsStore& store);
void save_console_style(const vozo_qt::ConsoleWindow& console, desktop::SettingsStore& store);

}  // namespace desktop_qt
