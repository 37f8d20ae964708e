// SPDX-License-Identifier: GPL-3.0-or-later
// How a console's text falls onto printed pages: lines of one fixed height from the
// top of each page, no margins, headers or wrapping. Each copy starts on a new page.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vozo {

// Lines that fit on a page of printable_height device units with lines of
// line_height device units; 0 when not one line fits (such a printer is refused).
int32_t lines_per_page(int32_t printable_height, int32_t line_height);

// 1-based inclusive range of lines; empty when last < first.
struct LineSpan {
  int32_t first = 1;
  int32_t last = 0;
  bool empty() const { return last < first; }
};

// Pages the user asked for, 1-based inclusive.
struct PageRange {
  int32_t from = 1;
  int32_t to = 1;
};

// The lines to print: all of them, or those of the chosen pages (cut at the end of
// the text). per_page must be at least 1.
LineSpan print_lines(int32_t line_count, int32_t per_page, std::optional<PageRange> pages);

// One printed page: the copy it belongs to (from 1) and its lines. A copy of an
// empty range is one blank page.
struct PrintedPage {
  int32_t copy = 1;
  LineSpan lines;
};
std::vector<PrintedPage> paginate(LineSpan lines, int32_t per_page, int32_t copies);

// Document name of a printed console.
inline constexpr const char* print_document_name = "VOZO Input/Output";
// The name offered while the print dialog is open, from which the dialog makes its
// default file for printing to PDF: the document name with every slash made a dash,
// as a slash would put that file in a directory that does not exist.
std::string print_file_stem(std::string_view document_name);

// Where the print dialog proposes to print to a file: in the folder of the last file
// printed to, or at first in the working folder, named after the document.
class PrintFolder {
 public:
  std::string proposed_file(std::string_view stem, std::string_view working_folder) const;
  // A print went to this file (nothing when it went to a printer).
  void remember(std::string_view printed_file);

 private:
  std::string folder_;
};

}  // namespace vozo
