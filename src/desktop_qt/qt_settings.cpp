// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_qt/qt_settings.h"

#include <QColor>
#include <QFont>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include "desktop/frame_fit.h"
#include "vozo_qt/console_window.h"

namespace desktop_qt {

namespace {

constexpr std::string_view place_key = "frame/geometry";
constexpr std::string_view maximized_key = "frame/maximized";
constexpr std::string_view font_key = "console/font";
constexpr std::string_view colour_key = "console/colour";

QString key_of(std::string_view key) {
  return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

std::optional<desktop::Box> stored_box(const desktop::SettingsStore& store) {
  const std::optional<std::string> text = store.value(place_key);
  if (!text) return std::nullopt;
  const QStringList parts = QString::fromStdString(*text).split(QLatin1Char(' '));
  if (parts.size() != 4) return std::nullopt;
  int32_t v[4];
  for (int i = 0; i < 4; ++i) {
    bool ok = false;
    v[i] = parts[i].toInt(&ok);
    if (!ok) return std::nullopt;
  }
  return desktop::Box{v[0], v[1], v[2], v[3]};
}

}  // namespace

QtSettingsStore::QtSettingsStore()
    : settings_(QStringLiteral("Gemino"), QStringLiteral("gemino")) {}

std::optional<std::string> QtSettingsStore::value(std::string_view key) const {
  const QVariant v = settings_.value(key_of(key));
  if (!v.isValid()) return std::nullopt;
  return v.toString().toStdString();
}

void QtSettingsStore::set_value(std::string_view key, std::string_view value) {
  settings_.setValue(key_of(key),
                     QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
}

void QtSettingsStore::remove(std::string_view key) {
  settings_.remove(key_of(key));
}

void restore_frame_place(QWidget& frame, const desktop::SettingsStore& store) {
  const QScreen* screen = frame.screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const desktop::Box box =
      desktop::fit_frame(stored_box(store), {area.x(), area.y(), area.width(), area.height()});
  frame.setGeometry(box.x, box.y, box.width, box.height);
  if (store.value(maximized_key).value_or("") == "1") frame.showMaximized();
}

void save_frame_place(const QWidget& frame, desktop::SettingsStore& store) {
  // A maximised frame keeps the place it returns to when it is no longer.
  const QRect r = frame.isMaximized() ? frame.normalGeometry() : frame.geometry();
  store.set_value(place_key, QStringLiteral("%1 %2 %3 %4")
                                 .arg(r.x())
                                 .arg(r.y())
                                 .arg(r.width())
                                 .arg(r.height())
                                 .toStdString());
  store.set_value(maximized_key, frame.isMaximized() ? "1" : "0");
}

void apply_console_style(vozo_qt::ConsoleWindow& console, const desktop::SettingsStore& store) {
  if (const std::optional<std::string> text = store.value(font_key)) {
    QFont font;
    // A font the machine does not have comes back as its nearest match, still fixed-pitch
    // when the family asked was.
    if (font.fromString(QString::fromStdString(*text))) console.apply_font(font);
  }
  if (const std::optional<std::string> text = store.value(colour_key)) {
    const QColor colour = QColor::fromString(QString::fromStdString(*text));
    if (colour.isValid()) {
      console.state().set_text_color(static_cast<uint32_t>(colour.rgb()) & 0xFFFFFFu);
      console.viewport()->update();
    }
  }
}

void save_console_style(const vozo_qt::ConsoleWindow& console, desktop::SettingsStore& store) {
  store.set_value(font_key, console.console_font().toString().toStdString());
  store.set_value(colour_key, console.text_color().name().toStdString());
}

}  // namespace desktop_qt
