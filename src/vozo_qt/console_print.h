// SPDX-License-Identifier: GPL-3.0-or-later
// Print... for a console window: the print dialog, then the text in the console's font,
// lines from the top of each page, each copy from a new page, with a small dialog whose
// Cancel stops at the next line.
#pragma once

class QPrinter;

namespace vozo_qt {

class ConsoleWindow;

void print_console(ConsoleWindow& console);

// Printing to a file, the dialog proposes a file named after the document in the folder
// printed to last, at first the working folder (and keeps the printer a printer when
// there is one). Called before the dialog opens.
void propose_print_file(QPrinter& printer);
// Called once the user confirmed the dialog: a print to a file sets the next folder.
void remember_print_file(const QPrinter& printer);

}  // namespace vozo_qt
