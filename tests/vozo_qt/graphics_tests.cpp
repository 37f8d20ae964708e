// SPDX-License-Identifier: GPL-3.0-or-later
// The graphics window: one per run, its size and title, painting in a mapping mode,
// and saving its picture as a bitmap file.
#include <gtest/gtest.h>

#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>

#include "harness.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/application.h"
#include "vozo_qt/console_hooks.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/graphics_window.h"
#include "vozo_qt/mdi_frame.h"

using harness::frame;

namespace {

// A black square from the origin: 10 units wide along x, 10 units along y in the
// direction the mode counts as downward on the screen.
void black_square(QPainter& p) {
  const double down = p.transform().m22() < 0 ? -1.0 : 1.0;
  p.fillRect(QRectF(0, 0, 10, 10 * down), Qt::black);
}

struct GraphicsSeen {
  std::vector<int32_t> opened;
  QStringList titles;
  std::vector<QSize> sizes;
  QImage text_mode;
  QImage metric_mode;
  std::string saved_bytes;
  QImage loaded;
  QSize window;
  std::vector<std::string> asked;
};
GraphicsSeen g;

vozo_qt::GraphicsWindow* graphics_child() {
  for (QMdiSubWindow* sub : frame()->children()) {
    if (auto* w = qobject_cast<vozo_qt::GraphicsWindow*>(sub->widget())) return w;
  }
  return nullptr;
}

QImage image_of(vozo_qt::GraphicsWindow* w) {
  const std::string bytes = w->capture_bitmap();
  QImage image;
  image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()),
                     "BMP");
  return image;
}

uint32_t le32(const std::string& s, std::size_t at) {
  return static_cast<uint32_t>(static_cast<uint8_t>(s[at])) |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 2])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(s[at + 3])) << 24;
}

TEST(GraphicsWindow, OnePerRunDrawnInItsModeAndSavedAsBitmap) {
  g = GraphicsSeen{};
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  static std::string dir;
  dir = harness::temp_dir();
  dialogs.save_paths.push_back(dir + "/picture.bmp");
  script.when(
      [] { return vozo_qt::env().end.ended(); },
      [&] {
        // A mode of 9 paints in pixels.
        vozo_qt::GraphicsWindow* w = graphics_child();
        if (w != nullptr) {
          g.text_mode = image_of(w);
          g.window = w->size();
          frame()->client()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
          frame()->command(vozo::IDM_SAVE);
          g.saved_bytes = harness::read_file(dir + "/picture.bmp");
          g.loaded.load(QString::fromStdString(dir + "/picture.bmp"));
          g.titles.append(w->windowTitle());
          // Saved: it closes without a question, and no other can be opened in this run.
          w->parentWidget()->close();
          g.opened.push_back(vozo_qt::OpenGraphicsWindow(200, 100, "", 2, black_square, 0));
        }
        dialogs.answers.push_back(vozo::Answer::no);
        frame()->command(vozo::IDM_EXIT);
      });
  vozo_qt::run_windowed([] {
    g.opened.push_back(vozo_qt::OpenGraphicsWindow(0, 300, "Plot   ", 9, black_square, 7));
    vozo_qt::on_window_thread([] {
      const auto subs = frame()->children();
      g.sizes.push_back(subs.back()->size());
      g.titles.append(subs.back()->windowTitle());
    });
    // A second window is refused.
    g.opened.push_back(vozo_qt::OpenGraphicsWindow(200, 100, "", 2, black_square, 0));
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(g.opened, (std::vector<int32_t>{1, 0, 0}));
  ASSERT_EQ(g.sizes.size(), 1u);
  EXPECT_EQ(g.sizes[0], QSize(600, 300));
  ASSERT_EQ(g.titles.size(), 2);
  EXPECT_EQ(g.titles[0], QStringLiteral("Plot"));
  EXPECT_EQ(g.titles[1], QStringLiteral("picture.bmp"));

  ASSERT_FALSE(g.text_mode.isNull());
  EXPECT_EQ(g.text_mode.pixelColor(5, 5), QColor(Qt::black));
  EXPECT_EQ(g.text_mode.pixelColor(12, 5), QColor(Qt::white));

  // The saved file: 24-bit, no colour table, rows padded to 4 bytes.
  const std::string& b = g.saved_bytes;
  ASSERT_GE(b.size(), 54u);
  const uint32_t width = le32(b, 18);
  const uint32_t height = le32(b, 22);
  EXPECT_EQ(b.substr(0, 2), "BM");
  EXPECT_EQ(QSize(static_cast<int>(width), static_cast<int>(height)), g.window);
  EXPECT_EQ(le32(b, 10), 54u);
  EXPECT_EQ(le32(b, 2), b.size());
  EXPECT_EQ(b.size(), 54u + height * ((width * 3 + 3) / 4 * 4));
  ASSERT_FALSE(g.loaded.isNull());
  EXPECT_EQ(g.loaded.pixelColor(5, 5), QColor(Qt::black));
  // Saved: closing asks nothing more than the console's question.
  EXPECT_EQ(dialogs.asked, std::vector<std::string>{"Save changes to Input/Output?"});
}

TEST(GraphicsWindow, MetricModesMeasureUpwardInFixedLengths) {
  harness::ScriptedDialogs dialogs;
  vozo::SaveDirectory directory;
  vozo_qt::GraphicsWindow w(QStringLiteral("Graphics"), 2, black_square, directory);
  w.resize(400, 300);
  const QImage image = image_of(&w);
  // Ten tenths of a millimetre: one millimetre, a few pixels on a screen.
  const int side = static_cast<int>(w.logicalDpiX() / 25.4);
  ASSERT_GE(side, 2);
  EXPECT_EQ(image.pixelColor(side / 2, side / 2), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(side + 2, side / 2), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(side / 2, side + 2), QColor(Qt::white));
  // Print... puts the drawing on one page, whatever the dialog asked for.
  const std::string pdf = harness::temp_dir() + "/graphic.pdf";
  dialogs.print_choice = [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setCopyCount(3);
    return true;
  };
  w.command(vozo::IDM_PRINT);
  const QString text = QString::fromLatin1(QByteArray::fromStdString(harness::read_file(pdf)));
  EXPECT_EQ(text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))), 1);
  // Unsaved: closing asks, Cancel keeps it.
  w.show();
  dialogs.answers.push_back(vozo::Answer::cancel);
  w.close();
  EXPECT_TRUE(w.isVisible());
  EXPECT_EQ(dialogs.asked, std::vector<std::string>{"Save changes to Graphics?"});
}

}  // namespace
