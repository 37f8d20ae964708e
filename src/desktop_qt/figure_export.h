// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export figure...: the figure of the active window written in the format its
// file name's extension names (PNG, SVG, PDF or BMP), a PNG or BMP at a chosen resolution.
#pragma once

#include <QString>
#include <optional>
#include <string>

#include "desktop_qt/workbench.h"
#include "figures/result_figures.h"
#include "figures_qt/figure_windows.h"

class QWidget;

namespace desktop_qt {

// The name the dialog offers first ("stereonet.svg").
std::string figure_file_name(figures::FigureKind kind);

// The real dialog: the file (with the extension of the chosen type when the name has
// none of the four), then the resolution for a PNG or BMP. Nothing when cancelled.
std::optional<ExportRequest> ask_export(QWidget* parent, const QString& suggested, int32_t dpi);

struct ExportOutcome {
  bool written = false;
  std::string message;  // what was written where, or why nothing was
};
// Writes the figure laid out on the export page; the file is whole or not there at all.
ExportOutcome export_figure_file(figures::FigureKind kind, const figures_qt::FigureData& data,
                                 const ExportRequest& request);

}  // namespace desktop_qt
