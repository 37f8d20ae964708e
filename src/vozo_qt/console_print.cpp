// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/console_print.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "vozo/pagination.h"
#include "vozo_qt/console_window.h"
#include "vozo_qt/dialog_provider.h"
#include "vozo_qt/environment.h"
#include "vozo_qt/printing_dialog.h"
#include "vozo_qt/shown_text.h"

namespace vozo_qt {
namespace {

// Restores the console and closes the printing box in every outcome.
struct PrintingSession {
  // The box has no parent: as a child of the console it would be disabled with it, and
  // its Cancel could not be pressed.
  PrintingSession(ConsoleWindow& c) : console(c), box(nullptr) {
    console.setEnabled(false);
    box.show();
  }
  ~PrintingSession() {
    box.close();
    console.setEnabled(true);
  }
  ConsoleWindow& console;
  PrintingDialog box;
};

}  // namespace

void propose_print_file(QPrinter& printer) {
  const std::string file = env().print_folder.proposed_file(printer.docName().toStdString(),
                                                            QDir::currentPath().toStdString());
  // A .pdf name turns the printer into a PDF writer; with a real printer at hand the
  // dialog must still offer it first, the file staying the choice for printing to a file.
  printer.setOutputFileName(QString::fromStdString(file));
  if (!QPrinterInfo::availablePrinterNames().isEmpty()) {
    printer.setOutputFormat(QPrinter::NativeFormat);
  }
}

void remember_print_file(const QPrinter& printer) {
  if (printer.outputFileName().isEmpty()) return;
  env().print_folder.remember(printer.outputFileName().toStdString());
}

void print_console(ConsoleWindow& console) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromStdString(vozo::print_file_stem(vozo::print_document_name)));
  printer.setFromTo(1, 1);
  printer.setCollateCopies(true);
  printer.setCopyCount(1);
  propose_print_file(printer);
  if (!dialogs().print_setup(printer)) return;
  remember_print_file(printer);
  printer.setDocName(QString::fromLatin1(vozo::print_document_name));
  if (!printer.isValid()) {
    dialogs().warn("Cannot obtain Printer DC");
    return;
  }

  // One logical unit is a hundredth of an inch: the console font's pixel sizes are
  // read in those units, so the printed text has the same proportions at any
  // resolution.
  QFont font = console.console_font();
  const int screen_pixels = QFontInfo(console.console_font()).pixelSize();
  font.setPixelSize(std::max(1, screen_pixels * printer.resolution() / 100));
  const QFontMetrics metrics(font, &printer);
  const int32_t line_height = metrics.height() + metrics.leading();
  const int32_t per_page = vozo::lines_per_page(printer.height(), line_height);
  if (per_page == 0) {
    dialogs().warn("The printer's page is too small for one line of this font.");
    return;
  }

  const vozo::LineStore& store = console.state().store();
  std::optional<vozo::PageRange> range;
  if (printer.printRange() == QPrinter::PageRange) {
    range = vozo::PageRange{printer.fromPage(), printer.toPage()};
  }
  const vozo::LineSpan lines = vozo::print_lines(store.line_count(), per_page, range);
  // Copies are laid out here, each from a new page, rather than left to the device.
  const int32_t copies = std::max(1, printer.copyCount());
  printer.setCopyCount(1);
  printer.setFromTo(0, 0);
  const std::vector<vozo::PrintedPage> pages = vozo::paginate(lines, per_page, copies);

  PrintingSession session(console);
  QPainter painter;
  if (!painter.begin(&printer)) return;
  painter.setFont(font);
  painter.setPen(console.text_color());
  bool first_page = true;
  for (const vozo::PrintedPage& page : pages) {
    if (!first_page && !printer.newPage()) break;
    first_page = false;
    int32_t row = 0;
    for (int32_t k = page.lines.first; k <= page.lines.last; ++k, ++row) {
      const std::string_view text = store.line(k);
      painter.drawText(0, row * line_height + metrics.ascent(), shown_text(text));
      let_events_run();
      if (session.box.cancelled()) break;
    }
    if (session.box.cancelled()) break;
  }
  if (!session.box.cancelled()) {
    painter.end();
    return;
  }
  // A cancelled job is abandoned: a printer that can drops it, and a job printed to a
  // file leaves no half-written document behind.
  printer.abort();
  painter.end();
  if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
    QFile::remove(printer.outputFileName());
  }
}

}  // namespace vozo_qt
