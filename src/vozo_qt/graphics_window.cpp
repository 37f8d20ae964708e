// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/graphics_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPrinter>
#include <vector>

#include "vozo/bmp.h"
#include "vozo_qt/console_hooks.h"
#include "vozo_qt/console_print.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"
#include "vozo_qt/printing_dialog.h"

namespace vozo_qt {

GraphicsWindow::GraphicsWindow(const QString& title, int32_t mapping_mode, DrawRoutine routine,
                               vozo::SaveDirectory& directory, QWidget* parent)
    : QWidget(parent),
      mapping_mode_(vozo::effective_mapping_mode(mapping_mode)),
      routine_(routine),
      save_directory_(directory) {
  setWindowTitle(title);
  document_.title = title.toStdString();
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::white);
  setPalette(palette);
}

void GraphicsWindow::apply_mapping(QPainter& painter, int32_t mode, double dpi_x, double dpi_y) {
  const vozo::MappingScale scale = vozo::mapping_scale(mode, dpi_x, dpi_y);
  painter.scale(scale.x, scale.y);
}

void GraphicsWindow::paintEvent(QPaintEvent*) {
  if (routine_ == nullptr) return;
  QPainter painter(this);
  apply_mapping(painter, mapping_mode_, logicalDpiX(), logicalDpiY());
  routine_(painter);
}

std::string GraphicsWindow::capture_bitmap() {
  // The picture as the user sees it: the routine paints onto white at the window's size.
  QImage image(size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  if (routine_ != nullptr) {
    QPainter painter(&image);
    apply_mapping(painter, mapping_mode_, logicalDpiX(), logicalDpiY());
    routine_(painter);
  }
  if (image.isNull()) return {};
  return vozo::bmp_file(image.width(), image.height(),
                        reinterpret_cast<const uint32_t*>(image.constBits()),
                        static_cast<int32_t>(image.bytesPerLine() / 4));
}

void GraphicsWindow::after_save() {
  const QString title = QString::fromStdString(document_.title);
  setWindowTitle(title);
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget())) sub->setWindowTitle(title);
  emit item_enabled_changed(vozo::IDM_SAVE, false);
}

void GraphicsWindow::print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QStringLiteral("VOZO Graphic"));
  printer.setFromTo(1, 1);
  printer.setCollateCopies(true);
  propose_print_file(printer);
  if (!dialogs().print_setup(printer)) return;
  remember_print_file(printer);
  // One page, one copy, whatever the dialog returned.
  printer.setCopyCount(1);
  printer.setPrintRange(QPrinter::AllPages);
  if (!printer.isValid()) return;
  PrintingDialog box(this);
  box.show();
  QPainter painter;
  if (painter.begin(&printer)) {
    apply_mapping(painter, mapping_mode_, printer.resolution(), printer.resolution());
    if (routine_ != nullptr) routine_(painter);
    painter.end();
  }
  box.close();
}

void GraphicsWindow::command(int32_t id) {
  switch (id) {
    case vozo::IDM_SAVE:
      vozo::graphics_save(document_, dialogs(), save_directory_, *this);
      after_save();
      return;
    case vozo::IDM_SAVEAS:
      vozo::graphics_save_as(document_, dialogs(), save_directory_, *this);
      after_save();
      return;
    case vozo::IDM_PRINT:
      print();
      return;
    case vozo::IDM_FONT:
    case vozo::IDM_COLOR:
      QApplication::beep();
      return;
    default:
      return;
  }
}

bool GraphicsWindow::confirm_close() {
  if (!close_confirmed_) {
    close_confirmed_ = vozo::graphics_close_prompt(document_, dialogs(), save_directory_, *this) ==
                       vozo::CloseDecision::close;
  }
  return close_confirmed_;
}

void GraphicsWindow::closeEvent(QCloseEvent* event) {
  if (confirm_close()) {
    event->accept();
  } else {
    event->ignore();
  }
}

int32_t OpenGraphicsWindow(int32_t width, int32_t height, const char* title, int32_t mapping_mode,
                           DrawRoutine routine, int32_t title_length) {
  const std::string_view text =
      title != nullptr
          ? std::string_view(title, static_cast<std::size_t>(std::max(0, title_length)))
          : std::string_view();
  int32_t opened = 0;
  on_window_thread([&] {
    const vozo::GraphicsOpening opening = env().graphics.open(width, height, text, mapping_mode);
    if (!opening.accepted || env().frame == nullptr) return;
    const QString name = QString::fromStdString(opening.title);
    auto* window = new GraphicsWindow(name, opening.mapping_mode, routine, env().save_directory);
    QObject::connect(window, &GraphicsWindow::item_enabled_changed, env().frame,
                     &Frame::set_item_enabled);
    env().frame->add_child(window, name, QRect(15, 15, opening.width, opening.height));
    opened = 1;
  });
  return opened;
}

}  // namespace vozo_qt
