// SPDX-License-Identifier: GPL-3.0-or-later
// The console widget's own duties: clipboard commands and accelerators, font change,
// printing to a file, and the About box.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "harness.h"
#include "vozo/menu_ids.h"
#include "vozo_qt/about_dialog.h"
#include "vozo_qt/application.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/mdi_frame.h"
#include "vozo_qt/printing_dialog.h"

using harness::console;
using harness::frame;

namespace {

std::vector<std::string> reads;

// The centre of a console cell, in viewport pixels.
QPoint cell_centre(vozo_qt::ConsoleWindow* c, int column, int line) {
  const int cw = c->state().char_width();
  const int ch = c->state().char_height();
  return {column * cw + cw / 2, line * ch + ch / 2};
}

TEST(Clipboard, CopyThenPasteCompletesAnInputLine) {
  reads.clear();
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  QString copied;
  bool active = false;
  script.on_read([&] {
    vozo_qt::ConsoleWindow* c = console();
    frame()->activateWindow();
    active = QTest::qWaitForWindowActive(frame());
    // Double click on "cd" of the first line, then the accelerators of Copy and Paste.
    QTest::mouseDClick(c->viewport(), Qt::LeftButton, {}, cell_centre(c, 4, 0));
    // The button goes up after the second click, as it does under a real hand.
    QTest::mouseRelease(c->viewport(), Qt::LeftButton, {}, cell_centre(c, 4, 0));
    QTest::keyClick(c, Qt::Key_C, Qt::ControlModifier);
    copied = QGuiApplication::clipboard()->text();
    QTest::keyClick(c, Qt::Key_V, Qt::ControlModifier);
    harness::type(c, "\r");
  });
  script.on_read([] {
    // A pasted carriage return ends the line like the Return key.
    QGuiApplication::clipboard()->setText(QStringLiteral("now\r"));
    frame()->command(vozo::IDM_PASTE);
  });
  script.on_read([] {
    // So does a line break as other programs here put it on the clipboard.
    QGuiApplication::clipboard()->setText(QStringLiteral("then\n"));
    frame()->command(vozo::IDM_PASTE);
  });
  script.when([] { return vozo_qt::env().end.ended(); },
              [&] {
                dialogs.answers.push_back(vozo::Answer::no);
                frame()->command(vozo::IDM_EXIT);
              });
  vozo_qt::run_windowed([] {
    harness::write(" ab cd\r\n");
    harness::write("> ");
    reads.push_back(harness::read_line());
    reads.push_back(harness::read_line());
    reads.push_back(harness::read_line());
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_TRUE(active);
  EXPECT_EQ(copied, QStringLiteral("cd"));
  EXPECT_EQ(reads, (std::vector<std::string>{"cd", "now", "then"}));
}

TEST(Clipboard, APasteOfSeveralLinesAnswersTheNextQuestionsInOrder) {
  reads.clear();
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  std::vector<std::string> shown;
  script.on_read([] {
    vozo_qt::ConsoleWindow* c = console();
    // Control combinations never type a character: Ctrl+C with nothing selected.
    QTest::keyClick(c, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(c, Qt::Key_Q, Qt::ControlModifier | Qt::ShiftModifier);
    QGuiApplication::clipboard()->setText(QStringLiteral("\nparams.txt\r\ndata.txt\rreport.txt\n"));
    frame()->command(vozo::IDM_PASTE);
  });
  script.when([] { return vozo_qt::env().end.ended(); },
              [&] {
                shown = harness::lines(console());
                dialogs.answers.push_back(vozo::Answer::no);
                frame()->command(vozo::IDM_EXIT);
              });
  vozo_qt::run_windowed([] {
    for (const char* question : {"Go? ", "P? ", "D? ", "R? "}) {
      harness::write(question);
      reads.push_back(harness::read_line());
    }
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(reads, (std::vector<std::string>{"", "params.txt", "data.txt", "report.txt"}));
  // Each answer stands after its question, as if typed there.
  EXPECT_EQ(shown,
            (std::vector<std::string>{"Go? ", "P? params.txt", "D? data.txt", "R? report.txt"}));
}

TEST(Typing, ALineTypedWhileTheComputationWorksAnswersTheNextRead) {
  reads.clear();
  harness::ScriptedDialogs dialogs;
  harness::Script script;
  static std::atomic<bool> typed{false};
  typed = false;
  script.when([] { return console() != nullptr; },
              [] {
                harness::type(console(), "ahead\r");
                typed = true;
              });
  script.when([] { return vozo_qt::env().end.ended(); },
              [&] {
                dialogs.answers.push_back(vozo::Answer::no);
                frame()->command(vozo::IDM_EXIT);
              });
  vozo_qt::run_windowed([] {
    while (!typed) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    reads.push_back(harness::read_line());
  });
  EXPECT_FALSE(script.timed_out());
  EXPECT_EQ(reads, std::vector<std::string>{"ahead"});
}

// The save dialogs' shared directory of a console made outside the frame.
vozo::SaveDirectory directory;

TEST(ConsoleWidget, FontChangeRecomputesTheVisibleRows) {
  harness::ScriptedDialogs dialogs;
  vozo_qt::ConsoleWindow c(QStringLiteral("Input/Output"), directory);
  c.resize(600, 300);
  c.show();
  const int rows_before = c.state().visible_rows();
  QFont big = c.console_font();
  big.setPixelSize(QFontInfo(c.console_font()).pixelSize() * 2);
  dialogs.font_choice = [&](QFont& font) {
    font = big;
    return true;
  };
  c.command(vozo::IDM_FONT);
  const QFontMetrics metrics(big);
  EXPECT_EQ(c.state().char_height(), metrics.height());
  EXPECT_EQ(c.state().visible_rows(), c.viewport()->height() / metrics.height());
  EXPECT_LT(c.state().visible_rows(), rows_before);
  // Cancel keeps the font.
  dialogs.font_choice = nullptr;
  c.command(vozo::IDM_FONT);
  EXPECT_EQ(c.state().char_height(), metrics.height());
}

// A key that types letters outside ASCII, as a keyboard layout sends it.
void type_letters(QWidget* widget, const char* utf8) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8(utf8));
  QApplication::sendEvent(widget, &press);
}

TEST(ConsoleWidget, TypedLettersEnterAsUtf8AndCopyAsTyped) {
  vozo_qt::ConsoleWindow c(QStringLiteral("Input/Output"), directory);
  c.resize(600, 300);
  c.show();
  QTest::keyClicks(&c, QStringLiteral("donn"));
  type_letters(&c, "\xC3\xA9");
  QTest::keyClicks(&c, QStringLiteral("es"));
  EXPECT_EQ(c.state().store().line(1),
            "donn\xC3\xA9"
            "es");
  for (int i = 0; i < 3; ++i) QTest::keyClick(&c, Qt::Key_Backspace);
  EXPECT_EQ(c.state().store().line(1), "donn");
  type_letters(&c, "\xC3\xA9\xE2\x82\xAC");
  QTest::keyClick(&c, Qt::Key_Home, Qt::ShiftModifier);
  c.command(vozo::IDM_COPY);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("donn\xC3\xA9\xE2\x82\xAC"));
}

TEST(ConsoleWidget, ScrollBarsFollowTheText) {
  vozo_qt::ConsoleWindow c(QStringLiteral("Input/Output"), directory);
  c.resize(600, 300);
  c.show();
  std::string text;
  for (int i = 1; i <= 100; ++i) text += "line " + std::to_string(i) + "\r\n";
  c.state().append_output(text);
  const int rows = c.state().visible_rows();
  ASSERT_GT(rows, 0);
  // The bars are redrawn with the text, once the event loop runs.
  QTest::qWait(50);
  // 100 lines and a pending one: the view follows the text to its end.
  EXPECT_EQ(c.verticalScrollBar()->maximum(), 100 - rows + 2);
  EXPECT_EQ(c.verticalScrollBar()->value(), c.state().top());
  EXPECT_EQ(c.state().top(), c.verticalScrollBar()->maximum());
  // A click on the bar's arrow moves one line, Home goes to the top.
  c.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(c.state().top(), 100 - rows + 1);
  QTest::keyClick(&c, Qt::Key_Home);
  EXPECT_EQ(c.state().top(), 0);
  QTest::qWait(50);
  EXPECT_EQ(c.verticalScrollBar()->value(), 0);
}

int pdf_pages(const std::string& path) {
  const QByteArray pdf = QByteArray::fromStdString(harness::read_file(path));
  static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
  return static_cast<int>(QString::fromLatin1(pdf).count(page));
}

// A PDF's text strings are UTF-16 with the high byte first.
std::string utf16_big_endian(std::string_view text) {
  std::string out;
  for (char c : text) {
    out += '\0';
    out += c;
  }
  return out;
}

TEST(Printing, PagesAndCopiesToAPdfFile) {
  harness::ScriptedDialogs dialogs;
  vozo_qt::ConsoleWindow c(QStringLiteral("Input/Output"), directory);
  c.resize(600, 300);
  std::string text;
  for (int i = 1; i <= 400; ++i) text += "line " + std::to_string(i) + "\r\n";
  c.state().append_output(text);
  const std::string dir = harness::temp_dir();

  QString name_in_dialog;
  QString proposed_file;
  auto print = [&](const std::string& name, int from, int to, int copies) {
    dialogs.print_choice = [&, name, from, to, copies](QPrinter& printer) {
      name_in_dialog = printer.docName();
      proposed_file = printer.outputFileName();
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(dir + "/" + name));
      if (from > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(from, to);
      }
      printer.setCopyCount(copies);
      return true;
    };
    c.command(vozo::IDM_PRINT);
    return pdf_pages(dir + "/" + name);
  };
  const int all = print("all.pdf", 0, 0, 1);
  EXPECT_GT(all, 3);
  // The dialog names its default file after the document: it must be a plain file
  // name. The printed document still carries its own name.
  EXPECT_EQ(name_in_dialog, QStringLiteral("VOZO Input-Output"));
  EXPECT_NE(harness::read_file(dir + "/all.pdf").find(utf16_big_endian("VOZO Input/Output")),
            std::string::npos);
  // The next print to a file is proposed in the folder printed to last.
  EXPECT_EQ(print("two.pdf", 2, 3, 1), 2);
  EXPECT_EQ(proposed_file, QString::fromStdString(dir + "/VOZO Input-Output.pdf"));
  EXPECT_EQ(print("copies.pdf", 0, 0, 2), 2 * all);
  // Pages past the end of the text print nothing but an empty page.
  EXPECT_EQ(print("past.pdf", 900, 901, 1), 1);
  // Cancel in the printing box stops at the next line; the console is disabled while
  // printing and usable again afterwards.
  bool disabled_while_printing = false;
  QTimer::singleShot(0, [&] {
    disabled_while_printing = !c.isEnabled();
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* box = qobject_cast<vozo_qt::PrintingDialog*>(w); box && box->isVisible()) {
        box->findChild<QPushButton*>(QStringLiteral("cancel"))->click();
      }
    }
  });
  // The cancelled job is abandoned: no half-written document is left.
  EXPECT_EQ(print("cancelled.pdf", 0, 0, 2), 0);
  EXPECT_FALSE(QFile::exists(QString::fromStdString(dir + "/cancelled.pdf")));
  EXPECT_TRUE(disabled_while_printing);
  EXPECT_TRUE(c.isEnabled());
  // A cancelled dialog prints nothing.
  dialogs.print_choice = nullptr;
  c.command(vozo::IDM_PRINT);
  EXPECT_TRUE(dialogs.warnings.empty());
}

TEST(AboutBox, ShowsTheMachineFacts) {
  vozo_qt::AboutDialog box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("About VOZO"));
  const QList<QLabel*> values = box.value_labels();
  ASSERT_EQ(values.size(), 5);
  EXPECT_EQ(values[0]->text(), QString::number(::sysconf(_SC_PAGESIZE)));
  const QRegularExpression address(QStringLiteral("^0x[0-9a-f]{8,}$"));
  EXPECT_TRUE(address.match(values[1]->text()).hasMatch()) << values[1]->text().toStdString();
  EXPECT_TRUE(address.match(values[2]->text()).hasMatch()) << values[2]->text().toStdString();
  EXPECT_EQ(values[4]->text(), QString::number(::sysconf(_SC_NPROCESSORS_ONLN)));
  // Escape closes it.
  box.show();
  QTest::keyClick(&box, Qt::Key_Escape);
  EXPECT_FALSE(box.isVisible());
}

}  // namespace
