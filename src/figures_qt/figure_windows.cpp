// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures_qt/figure_windows.h"

#include <QAction>
#include <QEvent>
#include <QFileDialog>
#include <QHelpEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPaintDevice>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "figures/cairo_render.h"
#include "figures/mark_finder.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/graphics_window.h"
#include "vozo_qt/mdi_frame.h"

namespace figures_qt {

namespace {

// Printers report 600 or 1200 dots per inch: a page at that resolution is hundreds of
// megabytes as one image, and 300 is already finer than the eye reads on paper.
constexpr double finest_dpi = 300.0;

ExportDialog& export_dialog() {
  static ExportDialog dialog;
  return dialog;
}

QString real_export_dialog(QWidget* parent, const QString& suggested) {
  QString filter = QStringLiteral("SVG (*.svg)");
  QString name = QFileDialog::getSaveFileName(
      parent, QStringLiteral("Export"), suggested,
      QStringLiteral("SVG (*.svg);;PDF (*.pdf);;PNG (*.png)"), &filter);
  // A name without one of the three endings takes the ending of the chosen type.
  if (!name.isEmpty() && figures::format_of(name.toStdString()) == figures::FileFormat::unknown) {
    name += filter.startsWith(QStringLiteral("PDF"))   ? QStringLiteral(".pdf")
            : filter.startsWith(QStringLiteral("PNG")) ? QStringLiteral(".png")
                                                       : QStringLiteral(".svg");
  }
  return name;
}

// How near the pointer must come to a mark for the window to name it, in pixels.
constexpr double tip_reach_pixels = 4.0;

// The size in points a figure is laid out at on a device: its size at its own resolution.
QSize figure_points(const QPaintDevice& device) {
  const double points_per_pixel = 72.0 / std::max(1, device.logicalDpiX());
  return {static_cast<int>(device.width() * points_per_pixel),
          static_cast<int>(device.height() * points_per_pixel)};
}

// What a figure window shows, kept as a child object of the window so that File > Export
// figure finds it from the active window; it also names the mark under the pointer.
class FigureTag final : public QObject {
 public:
  FigureTag(figures::FigureKind kind, std::shared_ptr<const FigureData> data, QWidget* window)
      : QObject(window), kind_(kind), data_(std::move(data)) {
    setObjectName(QStringLiteral("figure"));
    window->installEventFilter(this);
  }
  figures::FigureKind kind_;
  std::shared_ptr<const FigureData> data_;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::ToolTip || !watched->isWidgetType()) return false;
    auto* window = static_cast<QWidget*>(watched);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = figure_tip(window, help->pos());
    if (tip.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(help->globalPos(), tip, window);
    }
    return true;
  }
};

}  // namespace

bool figure_of(const QWidget* window, figures::FigureKind& kind,
               std::shared_ptr<const FigureData>& data) {
  if (window == nullptr) return false;
  if (const auto* sub = qobject_cast<const QMdiSubWindow*>(window)) window = sub->widget();
  if (window == nullptr) return false;
  const auto* tag = dynamic_cast<const FigureTag*>(
      window->findChild<QObject*>(QStringLiteral("figure"), Qt::FindDirectChildrenOnly));
  if (tag == nullptr) return false;
  kind = tag->kind_;
  data = tag->data_;
  return true;
}

void set_crss(FigureData& data, double crss_mpa) {
  data.stress = results::stress_magnitudes(data.result, crss_mpa);
  for (bootstrap::ScanRow& row : data.scan.rows) {
    if (row.valid) {
      row.differential_mpa = bootstrap::differential_mpa(row.tensor.threshold, crss_mpa);
    }
  }
}

figures::Figure data_figure(figures::FigureKind kind, const FigureData& data, double width,
                            double height) {
  if (kind == figures::FigureKind::twin_scan) {
    return figures::scan_figure(data.scan, width, height, figures::title_of(data.result),
                                data.stress.crss_mpa);
  }
  return figures::result_figure(kind, data.result, data.stress, width, height, &data.extras);
}

QImage figure_image(figures::FigureKind kind, const FigureData& data, QSize size, double ratio) {
  const int32_t w = std::max(1, static_cast<int32_t>(std::lround(size.width() * ratio)));
  const int32_t h = std::max(1, static_cast<int32_t>(std::lround(size.height() * ratio)));
  QImage image(w, h, QImage::Format_RGB32);
  const figures::Figure figure =
      data_figure(kind, data, std::max(1, size.width()), std::max(1, size.height()));
  figures::draw_pixels(figure, image.bits(), w, h, static_cast<int32_t>(image.bytesPerLine()),
                       ratio);
  image.setDevicePixelRatio(ratio);
  return image;
}

void paint_figure(QPainter& painter, figures::FigureKind kind, const FigureData& data) {
  QPaintDevice* device = painter.device();
  if (device == nullptr) return;
  // The figure is laid out in points of the device's own size, so text keeps its size on
  // paper and on screen; the image is made at the device's resolution, or at most 300 dpi.
  const double dpi = std::max(1, device->logicalDpiX());
  const QSize points = figure_points(*device);
  const double ratio = std::min(dpi, finest_dpi) / 72.0 * device->devicePixelRatioF();
  const QImage image = figure_image(kind, data, points, ratio);
  painter.save();
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(QRectF(0, 0, device->width(), device->height()), image,
                    QRectF(0, 0, image.width(), image.height()));
  painter.restore();
}

QString figure_tip(const QWidget* window, QPoint pos) {
  figures::FigureKind kind{};
  std::shared_ptr<const FigureData> data;
  if (!figure_of(window, kind, data)) return {};
  if (const auto* sub = qobject_cast<const QMdiSubWindow*>(window)) window = sub->widget();
  if (window->width() < 1 || window->height() < 1) return {};
  // The window shows the figure laid out at this size, stretched to its pixels.
  const QSize points = figure_points(*window);
  const double scale = static_cast<double>(std::max(1, points.width())) / window->width();
  const figures::Figure figure =
      data_figure(kind, *data, std::max(1, points.width()), std::max(1, points.height()));
  const std::optional<figures::Mark> mark =
      figures::mark_at(figure, {pos.x() * scale, pos.y() * scale}, tip_reach_pixels * scale);
  if (!mark) return {};
  return QString::fromStdString(figures::mark_text(*mark, data->result));
}

std::string suggested_export_name(figures::FigureKind kind) {
  std::string name(figures::figure_title(kind));
  for (char& c : name) {
    c = c == ' ' ? '-' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return name + ".svg";
}

void set_export_dialog(ExportDialog dialog) {
  export_dialog() = std::move(dialog);
}

bool export_figure(QWidget* parent, figures::FigureKind kind, const FigureData& data) {
  const QString suggested = QString::fromStdString(
      vozo_qt::env().save_directory.default_path(suggested_export_name(kind)));
  const QString path =
      export_dialog() ? export_dialog()(parent, suggested) : real_export_dialog(parent, suggested);
  if (path.isEmpty()) return false;
  const std::string error =
      figures::write_figure(data_figure(kind, data, figures::page_width, figures::page_height),
                            path.toStdString(), figures::default_dpi);
  if (!error.empty()) {
    vozo_qt::dialogs().warn(error);
    return false;
  }
  vozo_qt::env().save_directory.remember(path.toStdString());
  return true;
}

QMdiSubWindow* open_figure_window(figures::FigureKind kind,
                                  std::shared_ptr<const FigureData> data) {
  vozo_qt::Frame* frame = vozo_qt::env().frame;
  if (frame == nullptr || data == nullptr) return nullptr;
  const QString title = QString::fromStdString(std::string(figures::figure_title(kind)));
  auto draw = [kind, data](QPainter& painter) { paint_figure(painter, kind, *data); };
  auto* window =
      new vozo_qt::GraphicsWindow(title, vozo::MM_TEXT, draw, vozo_qt::env().save_directory);
  QObject::connect(window, &vozo_qt::GraphicsWindow::item_enabled_changed, frame,
                   &vozo_qt::Frame::set_item_enabled);
  new FigureTag(kind, data, window);
  auto* export_action = new QAction(QStringLiteral("&Export..."), window);
  QObject::connect(export_action, &QAction::triggered, window,
                   [window, kind, data] { export_figure(window, kind, *data); });
  window->setContextMenuPolicy(Qt::ActionsContextMenu);
  window->addAction(export_action);
  QMdiSubWindow* sub = frame->add_child(window, title, QRect(-1, -1, 600, 420));
  if (sub != nullptr) window->setMinimumSize(min_figure_width, min_figure_height);
  if (sub != nullptr && sub->systemMenu() != nullptr) {
    sub->systemMenu()->addSeparator();
    sub->systemMenu()->addAction(export_action);
  }
  return sub;
}

}  // namespace figures_qt
