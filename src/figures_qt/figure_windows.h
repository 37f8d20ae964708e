// SPDX-License-Identifier: GPL-3.0-or-later
// The figures of a finished run in graphics windows: each window draws its figure at its
// own size whenever it is painted, saved as a bitmap or printed, and offers "Export..."
// (on its window menu and its context menu) to write the figure as SVG, PDF or PNG.
#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "figures/confidence_figures.h"
#include "figures/result_figures.h"

class QPainter;
class QWidget;
class QMdiSubWindow;

namespace figures_qt {

// What the windows draw from: a copy of the run's result, so that a window stays as it
// was drawn whatever happens to the computation's state afterwards; the marks of a
// bootstrap for the stereonet, and the scan that the scan's figure shows.
struct FigureData {
  results::Result result;
  results::StressMagnitudes stress;
  figures::StereonetExtras extras;
  bootstrap::Scan scan;
};

// Draws the data for another CRSS: the stress magnitudes of the result, and the scan's
// differential stress row by row (CRSS over the row's SEUIL).
void set_crss(FigureData& data, double crss_mpa);

// The figure of `kind` laid out at a size in points.
figures::Figure data_figure(figures::FigureKind kind, const FigureData& data, double width,
                            double height);

// The figure of `kind` drawn on whatever the painter paints on (a window, an image, a
// printer), laid out for that device's size and resolution.
void paint_figure(QPainter& painter, figures::FigureKind kind, const FigureData& data);

// The figure as an image of `size` device-independent pixels at a pixel ratio.
QImage figure_image(figures::FigureKind kind, const FigureData& data, QSize size, double ratio);

// Opens a graphics window showing the figure; its title is the figure's name. The window
// is never smaller than min_figure_size, below which labels would overlap.
QMdiSubWindow* open_figure_window(figures::FigureKind kind, std::shared_ptr<const FigureData> data);
inline constexpr int min_figure_width = 320;
inline constexpr int min_figure_height = 240;

// The figure a window opened by open_figure_window shows (the window itself or its
// sub-window may be given); false for any other window.
bool figure_of(const QWidget* window, figures::FigureKind& kind,
               std::shared_ptr<const FigureData>& data);

// What the mark under a point of a figure window is (the window's tooltip there); empty
// where no mark is within a few pixels, or for any other window.
QString figure_tip(const QWidget* window, QPoint pos);

// Export: the file name the user chose (empty: cancelled). Tests answer it themselves.
using ExportDialog = std::function<QString(QWidget* parent, const QString& suggested)>;
void set_export_dialog(ExportDialog dialog);  // an empty one restores the real dialog

// Asks for a file and writes the figure there; a failure is shown in a "VOZO" box.
// True when a file was written.
bool export_figure(QWidget* parent, figures::FigureKind kind, const FigureData& data);

// The name offered by the dialog: the figure's name in lower case, words joined by "-".
std::string suggested_export_name(figures::FigureKind kind);

}  // namespace figures_qt
