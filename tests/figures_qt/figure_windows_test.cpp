// SPDX-License-Identifier: GPL-3.0-or-later
// The example's figures as the windows draw them: at the window's size, on a printer's
// page, and exported through the dialog's choice.
#include "figures_qt/figure_windows.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QToolTip>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bootstrap/twin_scan.h"
#include "gemino/driver_in_process.h"
#include "gemino/io_files.h"
#include "results/magnitudes.h"
#include "support_qt/quiet_dialogs.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/graphics_window.h"
#include "vozo_qt/mdi_frame.h"

namespace figures_qt {
namespace {

std::shared_ptr<const FigureData> example_data() {
  static std::shared_ptr<const FigureData> data = [] {
    gemino_test::ScratchDir dir;
    EXPECT_EQ(gemino_test::run_driver_in_process(dir, GEMINO_EXAMPLES "/params.txt",
                                                 GEMINO_EXAMPLES "/data.txt"),
              0);
    auto d = std::make_shared<FigureData>();
    d->result = results::build_result(gemino::shared_state());
    d->stress = results::stress_magnitudes(d->result);
    d->scan = bootstrap::run_scan(bootstrap::run_input(gemino::shared_state()), {80, 100, 10}, 2);
    return d;
  }();
  return data;
}

// Share of the image that is not white.
double inked(const QImage& image) {
  long count = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != qRgb(255, 255, 255);
  }
  return static_cast<double>(count) / (image.width() * image.height());
}

TEST(FigureWindows, EveryFigureFillsTheWindowItIsDrawnIn) {
  for (figures::FigureKind kind : {figures::FigureKind::stereonet, figures::FigureKind::grains,
                                   figures::FigureKind::shear_plot, figures::FigureKind::cumulative,
                                   figures::FigureKind::twin_scan}) {
    const QImage small = figure_image(kind, *example_data(), QSize(320, 240), 1.0);
    const QImage large = figure_image(kind, *example_data(), QSize(900, 500), 2.0);
    EXPECT_EQ(small.size(), QSize(320, 240));
    EXPECT_EQ(large.size(), QSize(1800, 1000));
    EXPECT_GT(inked(small), 0.02);
    // Drawn across a wide window, not in a corner of it: the layout follows the size.
    EXPECT_GT(inked(large.copy(0, 0, 900, 1000)), 0.01);
    EXPECT_GT(inked(large.copy(900, 0, 900, 1000)), 0.01);
  }
}

TEST(FigureWindows, PaintingOnADeviceUsesItsWholeArea) {
  QImage page(600, 400, QImage::Format_RGB32);
  page.fill(Qt::black);
  {
    QPainter painter(&page);
    paint_figure(painter, figures::FigureKind::stereonet, *example_data());
  }
  // White background everywhere but where the figure draws: no black left from before.
  EXPECT_EQ(page.pixel(0, 0), qRgb(255, 255, 255));
  EXPECT_EQ(page.pixel(599, 399), qRgb(255, 255, 255));
  EXPECT_GT(inked(page), 0.02);
}

TEST(FigureWindows, ExportWritesTheChosenFormatOrNothing) {
  const std::filesystem::path dir = std::filesystem::temp_directory_path() / "gemino-figure-export";
  std::filesystem::create_directories(dir);
  QString offered;
  QString answer = QString::fromStdString((dir / "net.pdf").string());
  set_export_dialog([&](QWidget*, const QString& suggested) {
    offered = suggested;
    return answer;
  });
  EXPECT_TRUE(export_figure(nullptr, figures::FigureKind::stereonet, *example_data()));
  EXPECT_TRUE(offered.endsWith(QStringLiteral("stereonet.svg")));
  std::ifstream pdf(dir / "net.pdf", std::ios::binary);
  std::string head(5, '\0');
  pdf.read(head.data(), 5);
  EXPECT_EQ(head, "%PDF-");

  answer.clear();  // cancelled
  EXPECT_FALSE(export_figure(nullptr, figures::FigureKind::shear_plot, *example_data()));
  EXPECT_EQ(suggested_export_name(figures::FigureKind::shear_plot), "shear-stress-plot.svg");

  // The scan's figure is written from the scan, not left blank.
  answer = QString::fromStdString((dir / "scan.svg").string());
  EXPECT_TRUE(export_figure(nullptr, figures::FigureKind::twin_scan, *example_data()));
  EXPECT_EQ(offered.right(21), QStringLiteral("twin-percent-scan.svg"));
  std::ifstream svg(dir / "scan.svg");
  const std::string text((std::istreambuf_iterator<char>(svg)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("twins counted (%)"), std::string::npos);
  set_export_dialog({});
  std::filesystem::remove_all(dir);
}

TEST(FigureWindows, AFailedExportSaysWhyAndLeavesTheEarlierFileWhole) {
  gemino_test::ScratchDir dir;
  test_support::put(dir.file("earlier.svg"), "earlier");
  std::filesystem::create_symlink("earlier.svg", dir.file("link.svg"));
  test_support::put(dir.file("locked.svg"), "earlier");
  std::filesystem::permissions(dir.file("locked.svg"), std::filesystem::perms::owner_read);
  const std::pair<std::string, std::string> cases[] = {
      {"link.svg", "is a symbolic link"},
      {"locked.svg", "is read-only"},
  };
  for (const auto& [name, reason] : cases) {
    qt_test::QuietDialogs dialogs(vozo::Answer::cancel);
    set_export_dialog(
        [&](QWidget*, const QString&) { return QString::fromStdString(dir.file(name)); });
    EXPECT_FALSE(export_figure(nullptr, figures::FigureKind::stereonet, *example_data()));
    EXPECT_EQ(dialogs.warnings,
              std::vector<std::string>{"cannot write " + dir.file(name) + ": " + reason});
    EXPECT_EQ(gemino_test::slurp(dir.file(name)), "earlier") << name;
  }
  set_export_dialog({});
  EXPECT_EQ(gemino_test::slurp(dir.file("earlier.svg")), "earlier");
}

TEST(FigureWindows, AGraphicsWindowPerFigureSavedAtItsSizeWithExportOnItsMenus) {
  vozo_qt::reset_environment();
  {
    vozo_qt::Frame frame(QStringLiteral("Gemino"));
    vozo_qt::env().frame = &frame;
    frame.resize(1000, 800);
    QMdiSubWindow* net = open_figure_window(figures::FigureKind::stereonet, example_data());
    QMdiSubWindow* plot = open_figure_window(figures::FigureKind::shear_plot, example_data());
    ASSERT_NE(net, nullptr);
    ASSERT_NE(plot, nullptr);
    EXPECT_EQ(net->windowTitle(), QStringLiteral("Stereonet"));
    auto* window = qobject_cast<vozo_qt::GraphicsWindow*>(net->widget());
    ASSERT_NE(window, nullptr);

    // Save captures the figure as drawn at the window's present size.
    auto captured = [&] {
      const std::string bytes = window->capture_bitmap();
      QImage image;
      image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                         static_cast<int>(bytes.size()), "BMP");
      return image;
    };
    window->resize(500, 300);
    const QImage before = captured();
    window->resize(400, 420);
    const QImage after = captured();
    EXPECT_EQ(before.size(), QSize(500, 300));
    EXPECT_EQ(after.size(), QSize(400, 420));
    EXPECT_GT(inked(before), 0.02);
    EXPECT_GT(inked(after), 0.02);

    auto has_export = [](const QList<QAction*>& actions) {
      return std::any_of(actions.begin(), actions.end(),
                         [](QAction* a) { return a->text() == QStringLiteral("&Export..."); });
    };
    EXPECT_TRUE(has_export(window->actions()));
    EXPECT_TRUE(has_export(net->systemMenu()->actions()));
    vozo_qt::env().frame = nullptr;
  }
  vozo_qt::reset_environment();
}

TEST(FigureWindows, AnotherCrssRescalesTheMagnitudesAndTheScan) {
  FigureData data = *example_data();
  set_crss(data, 20.0);
  EXPECT_EQ(data.stress.crss_mpa, 20.0);
  // Twice the CRSS, twice the differential stress: exactly, a power of two.
  EXPECT_EQ(data.stress.differential_mpa, 2.0 * example_data()->stress.differential_mpa);
  ASSERT_EQ(data.scan.rows.size(), example_data()->scan.rows.size());
  int32_t rows = 0;
  for (std::size_t k = 0; k < data.scan.rows.size(); ++k) {
    const auto& before = example_data()->scan.rows[k].differential_mpa;
    ASSERT_EQ(before.has_value(), data.scan.rows[k].differential_mpa.has_value());
    if (!before) continue;
    EXPECT_EQ(*data.scan.rows[k].differential_mpa, 2.0 * *before);
    ++rows;
  }
  EXPECT_EQ(rows, 3);
  std::string legend;
  for (const figures::Item& item :
       data_figure(figures::FigureKind::twin_scan, data, 540.0, 360.0).items) {
    if (item.text.starts_with("Δσ for")) legend = item.text;
  }
  EXPECT_EQ(legend, "Δσ for CRSS 20.0 MPa");
}

TEST(FigureWindows, HoveringAMarkNamesIt) {
  vozo_qt::reset_environment();
  {
    vozo_qt::Frame frame(QStringLiteral("Gemino"));
    vozo_qt::env().frame = &frame;
    frame.resize(1000, 800);
    frame.show();
    QMdiSubWindow* net = open_figure_window(figures::FigureKind::stereonet, example_data());
    ASSERT_NE(net, nullptr);
    QWidget* window = net->widget();
    net->resize(520, 440);
    const int w = window->width(), h = window->height();
    // Where the figure, laid out at the window's size in points, puts σ1, in pixels.
    const int points_w = static_cast<int>(w * 72.0 / window->logicalDpiX());
    const double scale = static_cast<double>(points_w) / w;
    const figures::Figure figure =
        data_figure(figures::FigureKind::stereonet, *example_data(), points_w,
                    static_cast<int>(h * 72.0 / window->logicalDpiX()));
    QPoint sigma1;
    for (const figures::Item& item : figure.items) {
      if (item.css_class == "sigma1") {
        // The SVG's data-x and data-y: where the axis plots.
        sigma1 = QPoint(static_cast<int>(std::lround(std::stod(item.data.at(0).second) / scale)),
                        static_cast<int>(std::lround(std::stod(item.data.at(1).second) / scale)));
      }
    }
    EXPECT_EQ(figure_tip(window, sigma1), QStringLiteral("σ1 040/10"));
    EXPECT_EQ(figure_tip(net, sigma1), QStringLiteral("σ1 040/10"));
    EXPECT_EQ(figure_tip(window, sigma1 + QPoint(1, 2)), QStringLiteral("σ1 040/10"));
    EXPECT_EQ(figure_tip(window, QPoint(2, 2)), QString());  // the top left corner: no mark
    EXPECT_EQ(figure_tip(&frame, sigma1), QString());        // not a figure window

    // The window answers the tooltip event with the words.
    QHelpEvent event(QEvent::ToolTip, sigma1, window->mapToGlobal(sigma1));
    QApplication::sendEvent(window, &event);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("σ1 040/10"));
    QToolTip::hideText();
    vozo_qt::env().frame = nullptr;
  }
  vozo_qt::reset_environment();
}

TEST(FigureWindows, OpenInsideTheFramesWorkArea) {
  vozo_qt::reset_environment();
  {
    vozo_qt::Frame frame(QStringLiteral("Gemino"));
    vozo_qt::env().frame = &frame;
    frame.resize(800, 600);  // the frame's first size: smaller than three figures side by side
    frame.show();
    auto* area = qobject_cast<QMdiArea*>(frame.centralWidget());
    ASSERT_NE(area, nullptr);
    for (const auto kind : {figures::FigureKind::stereonet, figures::FigureKind::grains,
                            figures::FigureKind::shear_plot, figures::FigureKind::cumulative}) {
      QMdiSubWindow* sub = open_figure_window(kind, example_data());
      ASSERT_NE(sub, nullptr);
      EXPECT_TRUE(area->viewport()->rect().contains(sub->geometry()))
          << sub->windowTitle().toStdString();
    }
    vozo_qt::env().frame = nullptr;
  }
  vozo_qt::reset_environment();
}

}  // namespace
}  // namespace figures_qt
