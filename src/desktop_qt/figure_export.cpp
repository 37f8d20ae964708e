// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop_qt/figure_export.h"

#include <QBuffer>
#include <QFileDialog>
#include <QImage>
#include <QInputDialog>
#include <QStringList>
#include <cmath>

#include "desktop/figure_export.h"
#include "figures/cairo_render.h"
#include "figures/stereonet.h"
#include "safe_file/safe_file.h"

namespace desktop_qt {

std::string figure_file_name(figures::FigureKind kind) {
  return figures_qt::suggested_export_name(kind);
}

std::optional<ExportRequest> ask_export(QWidget* parent, const QString& suggested, int32_t dpi) {
  QString filter = QStringLiteral("PNG (*.png)");
  const QString types = QStringLiteral("PNG (*.png);;SVG (*.svg);;PDF (*.pdf);;BMP (*.bmp)");
  QString path = QFileDialog::getSaveFileName(parent, QStringLiteral("Export figure"), suggested,
                                              types, &filter);
  if (path.isEmpty()) return std::nullopt;
  const desktop::ExportFormat chosen =
      desktop::export_format("x." + filter.left(3).toLower().toStdString());
  path = QString::fromStdString(desktop::with_extension(path.toStdString(), chosen));
  ExportRequest request{path, dpi};
  const desktop::ExportFormat format = desktop::export_format(path.toStdString());
  if (format == desktop::ExportFormat::png || format == desktop::ExportFormat::bmp) {
    QStringList items;
    int32_t current = 0;
    for (const int32_t choice : desktop::dpi_choices) {
      if (choice == dpi) current = static_cast<int32_t>(items.size());
      items << QStringLiteral("%1 dpi").arg(choice);
    }
    if (current == 0 && dpi != desktop::dpi_choices[0]) {
      current = static_cast<int32_t>(items.size());
      items << QStringLiteral("%1 dpi").arg(dpi);
    }
    bool ok = false;
    const QString item = QInputDialog::getItem(parent, QStringLiteral("Export figure"),
                                               QStringLiteral("Resolution of the image:"), items,
                                               current, false, &ok);
    if (!ok) return std::nullopt;
    request.dpi = item.section(QLatin1Char(' '), 0, 0).toInt();
  }
  return request;
}

ExportOutcome export_figure_file(figures::FigureKind kind, const figures_qt::FigureData& data,
                                 const ExportRequest& request) {
  const std::string path = request.path.toStdString();
  const std::string title(figures::figure_title(kind));
  const desktop::ExportFormat format = desktop::export_format(path);
  if (format == desktop::ExportFormat::unknown) {
    return {false, desktop::failed_message(title, path, desktop::unknown_format_reason(path))};
  }
  const int32_t dpi = request.dpi > 0 ? request.dpi : figures::default_dpi;
  if (dpi < figures::min_dpi || dpi > figures::max_dpi) {
    return {false,
            desktop::failed_message(title, path,
                                    "a resolution of " + std::to_string(dpi) + " dpi is outside " +
                                        std::to_string(figures::min_dpi) + " to " +
                                        std::to_string(figures::max_dpi))};
  }
  std::string error;
  if (format == desktop::ExportFormat::bmp) {
    const QImage image = figures_qt::figure_image(
        kind, data,
        QSize(static_cast<int>(figures::page_width), static_cast<int>(figures::page_height)),
        dpi / 72.0);
    QImage file_image = image;
    // The file says its resolution, so that a layout program places it at its size.
    const int dots_per_metre = static_cast<int>(std::lround(dpi / 0.0254));
    file_image.setDotsPerMeterX(dots_per_metre);
    file_image.setDotsPerMeterY(dots_per_metre);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!file_image.save(&buffer, "BMP")) {
      error = "the image could not be encoded as BMP";
    } else {
      const safe_file::Outcome outcome = safe_file::write_file(
          path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
      if (!outcome.ok()) error = safe_file::message(path, outcome);
    }
  } else {
    error = figures::write_figure(
        figures_qt::data_figure(kind, data, figures::page_width, figures::page_height), path, dpi);
  }
  // The writers name the path first: the message names it once.
  if (error.rfind(path + ": ", 0) == 0) error.erase(0, path.size() + 2);
  if (!error.empty()) return {false, desktop::failed_message(title, path, error)};
  return {true, desktop::written_message(title, path, format, dpi)};
}

}  // namespace desktop_qt
