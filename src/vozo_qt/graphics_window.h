// SPDX-License-Identifier: GPL-3.0-or-later
// The graphics child: a white window the program draws into through a routine of its
// own, called whenever the window is painted and when it is printed. Save writes the
// window's picture as a bitmap file.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "vozo/graphics.h"
#include "vozo_qt/child_window.h"

class QPainter;

namespace vozo_qt {

// The program's drawing routine. The painter is already set to the window's mapping
// mode: in every mode but pixels one unit is a fixed length and y grows upward from the
// top left corner. The routine may keep state of its own (a figure drawn from a result).
using DrawRoutine = std::function<void(QPainter& painter)>;

class GraphicsWindow final : public QWidget, public ChildWindow, public vozo::BitmapSource {
  Q_OBJECT

 public:
  // directory is shared by every save dialog of the frame.
  GraphicsWindow(const QString& title, int32_t mapping_mode, DrawRoutine routine,
                 vozo::SaveDirectory& directory, QWidget* parent = nullptr);

  int32_t mapping_mode() const { return mapping_mode_; }
  const vozo::GraphicsDocument& document() const { return document_; }

  // ChildWindow
  void command(int32_t id) override;
  bool confirm_close() override;
  // BitmapSource
  std::string capture_bitmap() override;

  // Sets the painter to a mapping mode on a device of the given resolution.
  static void apply_mapping(QPainter& painter, int32_t mode, double dpi_x, double dpi_y);

 signals:
  // A frame menu item this window governs (Save) changed.
  void item_enabled_changed(int32_t id, bool enabled);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void after_save();
  void print();

  int32_t mapping_mode_;
  DrawRoutine routine_;
  vozo::GraphicsDocument document_;
  vozo::SaveDirectory& save_directory_;
  bool close_confirmed_ = false;
};

// Opens the run's one graphics window: 1 when created, 0 when one was opened before in
// this run (even if closed since). Width or height 0 gives 600 x 300; an empty title
// gives "Graphics". title_length characters of title are used, up to a NUL.
int32_t OpenGraphicsWindow(int32_t width, int32_t height, const char* title, int32_t mapping_mode,
                           DrawRoutine routine, int32_t title_length);

}  // namespace vozo_qt
