// SPDX-License-Identifier: GPL-3.0-or-later
// Results > View report: the run's report in a read-only window of the frame, in a fixed
// font so that its columns and charts line up, reloadable after the file changed.
#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>

class QLabel;
class QMdiSubWindow;
class QPlainTextEdit;

namespace desktop_qt {

class ReportView final : public QWidget {
  Q_OBJECT

 public:
  explicit ReportView(const QString& path, QWidget* parent = nullptr);
  const QString& path() const { return path_; }
  QString text() const;
  // Reads the file again, keeping the place shown; an empty string when it was read,
  // else why it could not be (the text shown stays as it was).
  std::string reload();

 private:
  QString path_;
  QPlainTextEdit* view_ = nullptr;
  QLabel* where_ = nullptr;
};

// Opens the report at path (a window already showing it comes forward, reloaded). When it
// cannot be read, the status bar and a warning say why and nullptr is returned.
QMdiSubWindow* view_report(const QString& path);

// The menu item: the report the console dialogue named, taken in the working folder.
void view_report_item(int32_t& checked);

}  // namespace desktop_qt
