// SPDX-License-Identifier: GPL-3.0-or-later
// File > Export figure... on the active figure window, in each format its extension names,
// and Results > View report.
#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <filesystem>
#include <fstream>

#include "desktop_qt/report_view.h"
#include "fixture.h"
#include "support/scratch_dir.h"
#include "vozo_qt/console_window.h"

namespace {

using desktop_test::FrameWithWorkbench;
using test_support::ScratchDir;

std::string head(const std::string& path, std::size_t n) {
  std::ifstream in(path, std::ios::binary);
  std::string bytes(n, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(n));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

TEST(ExportFigure, OnlyForAFigureWindowEachFormatByItsExtension) {
  auto store = std::make_shared<desktop::MemoryStore>();
  desktop_test::QuietDialogs dialogs;
  FrameWithWorkbench f(store);
  ScratchDir dir;
  QAction* item = f.bench().export_action();
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+E")));
  EXPECT_FALSE(item->isEnabled());  // no window yet

  auto* console =
      new vozo_qt::ConsoleWindow(QStringLiteral("Input/Output"), vozo_qt::env().save_directory);
  QMdiSubWindow* console_sub = f.frame().add_child(console, console->windowTitle(), QRect());
  QMdiSubWindow* net =
      figures_qt::open_figure_window(figures::FigureKind::stereonet, desktop_test::example_data());
  ASSERT_NE(net, nullptr);
  EXPECT_TRUE(item->isEnabled());
  f.frame().client()->setActiveSubWindow(console_sub);
  EXPECT_FALSE(item->isEnabled());
  EXPECT_FALSE(f.bench().export_active_figure());
  f.frame().client()->setActiveSubWindow(net);
  EXPECT_TRUE(item->isEnabled());

  struct Case {
    std::string name;
    int32_t dpi;
    std::string magic;  // the file's first bytes
    QSize pixels;       // for the images: the page at the resolution
    std::string status;
  };
  const Case cases[] = {
      {"net.png", 150, "\x89PNG", QSize(1125, 750), "(PNG, 150 dpi)"},
      {"net.PNG", 72, "\x89PNG", QSize(540, 360), "(PNG, 72 dpi)"},
      {"net.bmp", 96, "BM", QSize(720, 480), "(BMP, 96 dpi)"},
      {"net.svg", 0, "<?xml", QSize(), "(SVG)"},
      {"net.pdf", 0, "%PDF", QSize(), "(PDF)"},
  };
  for (const Case& c : cases) {
    const std::string path = dir.file(c.name);
    f.bench().set_export_asker([&](QWidget*, const QString& suggested, int32_t) {
      EXPECT_TRUE(suggested.endsWith(QStringLiteral("stereonet.svg"))) << suggested.toStdString();
      return desktop_qt::ExportRequest{QString::fromStdString(path), c.dpi};
    });
    EXPECT_TRUE(f.bench().export_active_figure()) << c.name;
    EXPECT_EQ(head(path, c.magic.size()), c.magic) << c.name;
    if (c.pixels.isValid()) {
      EXPECT_EQ(QImage(QString::fromStdString(path)).size(), c.pixels) << c.name;
    }
    EXPECT_EQ(f.frame().status_text().toStdString(),
              "Stereonet written to " + path + " " + c.status);
  }
  EXPECT_EQ(desktop::stored_export_dpi(*store, 300), 96);  // the last resolution chosen
  EXPECT_TRUE(dialogs.warnings.empty());

  // Failures write nothing and say why, in the status bar and a warning.
  const std::pair<std::string, std::string> failures[] = {
      {dir.file("net.tif"), "\".tif\" is not a figure format"},
      {dir.file("none/net.png"), "net.png"},
  };
  for (const auto& [path, why] : failures) {
    f.bench().set_export_asker([&](QWidget*, const QString&, int32_t) {
      return desktop_qt::ExportRequest{QString::fromStdString(path), 150};
    });
    EXPECT_FALSE(f.bench().export_active_figure()) << path;
    EXPECT_FALSE(std::filesystem::exists(path)) << path;
    const std::string status = f.frame().status_text().toStdString();
    EXPECT_EQ(status.rfind("Stereonet not written to " + path + ": ", 0), 0u) << status;
    EXPECT_NE(status.find(why, ("Stereonet not written to " + path).size()), std::string::npos)
        << status;
    ASSERT_FALSE(dialogs.warnings.empty());
    EXPECT_EQ(dialogs.warnings.back(), status);
  }
  // A cancelled dialog writes nothing and says nothing.
  f.bench().set_export_asker([](QWidget*, const QString&, int32_t) { return std::nullopt; });
  EXPECT_FALSE(f.bench().export_active_figure());
}

TEST(ExportFigure, FigureWindowsKeepAMinimumSize) {
  auto store = std::make_shared<desktop::MemoryStore>();
  FrameWithWorkbench f(store);
  QMdiSubWindow* net =
      figures_qt::open_figure_window(figures::FigureKind::shear_plot, desktop_test::example_data());
  ASSERT_NE(net, nullptr);
  net->resize(50, 40);
  EXPECT_GE(net->widget()->width(), figures_qt::min_figure_width);
  EXPECT_GE(net->widget()->height(), figures_qt::min_figure_height);
}

TEST(ViewReport, ReadOnlyFixedFontReloadableOneWindowPerReport) {
  auto store = std::make_shared<desktop::MemoryStore>();
  desktop_test::QuietDialogs dialogs;
  FrameWithWorkbench f(store);
  ScratchDir dir;
  const std::string path = dir.file("report.txt");
  test_support::put(path, "   CONTRAINTE \xe9tudi\xe9\x65\r\n  R  0.306\r\n");
  QMdiSubWindow* sub = desktop_qt::view_report(QString::fromStdString(path));
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->windowTitle(), QStringLiteral("Report \u2014 report.txt"));
  auto* view = qobject_cast<desktop_qt::ReportView*>(sub->widget());
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->text(), QStringLiteral("   CONTRAINTE \u00e9tudi\u00e9e\n  R  0.306\n"));
  auto* edit = view->findChild<QPlainTextEdit*>();
  EXPECT_TRUE(edit->isReadOnly());
  EXPECT_TRUE(QFontInfo(edit->font()).fixedPitch());

  // The file changes (a second run wrote it): Reload shows the new text; asking again
  // brings the same window forward, reloaded.
  test_support::put(path, "NEW\r\n");
  EXPECT_EQ(view->reload(), "");
  EXPECT_EQ(view->text(), QStringLiteral("NEW\n"));
  test_support::put(path, "NEWER\r\n");
  EXPECT_EQ(desktop_qt::view_report(QString::fromStdString(path)), sub);
  EXPECT_EQ(view->text(), QStringLiteral("NEWER\n"));
  // A report gone keeps the text shown and says why.
  std::filesystem::remove(path);
  EXPECT_EQ(view->reload(), path + ": no such file");
  EXPECT_EQ(view->text(), QStringLiteral("NEWER\n"));
  EXPECT_EQ(desktop_qt::view_report(QString::fromStdString(dir.file("none.txt"))), nullptr);
  ASSERT_EQ(dialogs.warnings.size(), 1u);
  EXPECT_NE(dialogs.warnings[0].find("none.txt: no such file"), std::string::npos);
}

}  // namespace
