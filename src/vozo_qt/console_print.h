// Print... for a console window: the print dialog, then the text in the console's font,
// lines from the top of each page, each copy from a new page, with a small dialog whose
// Cancel stops at the next line.
#pragma once

namespace vozo_qt {

class ConsoleWindow;

void print_console(ConsoleWindow& console);

}  // namespace vozo_qt
