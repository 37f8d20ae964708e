// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/pagination.h"

#include <algorithm>

namespace vozo {

int32_t lines_per_page(int32_t printable_height, int32_t line_height) {
  if (line_height <= 0 || printable_height <= 0) return 0;
  return printable_height / line_height;
}

LineSpan print_lines(int32_t line_count, int32_t per_page, std::optional<PageRange> pages) {
  if (!pages) return LineSpan{1, line_count};
  per_page = std::max(1, per_page);
  // Page numbers go up to 32,767: the products are taken in 64 bits.
  const int64_t first = int64_t{per_page} * (pages->from - 1) + 1;
  const int64_t last = std::min<int64_t>(int64_t{pages->to} * per_page, line_count);
  if (first > last) return LineSpan{1, 0};
  return LineSpan{static_cast<int32_t>(first), static_cast<int32_t>(last)};
}

std::vector<PrintedPage> paginate(LineSpan lines, int32_t per_page, int32_t copies) {
  std::vector<PrintedPage> pages;
  per_page = std::max(1, per_page);
  for (int32_t copy = 1; copy <= copies; ++copy) {
    if (lines.empty()) {
      pages.push_back(PrintedPage{copy, LineSpan{1, 0}});
      continue;
    }
    for (int32_t first = lines.first; first <= lines.last;) {
      const int32_t last =
          static_cast<int32_t>(std::min<int64_t>(int64_t{first} + per_page - 1, lines.last));
      pages.push_back(PrintedPage{copy, LineSpan{first, last}});
      if (last == lines.last) break;
      first = last + 1;
    }
  }
  return pages;
}

std::string print_file_stem(std::string_view document_name) {
  std::string stem(document_name);
  std::replace(stem.begin(), stem.end(), '/', '-');
  return stem;
}

std::string PrintFolder::proposed_file(std::string_view stem,
                                       std::string_view working_folder) const {
  std::string path(folder_.empty() ? working_folder : folder_);
  if (!path.empty() && path.back() != '/') path += '/';
  return path + std::string(stem) + ".pdf";
}

void PrintFolder::remember(std::string_view printed_file) {
  const std::size_t slash = printed_file.rfind('/');
  if (slash == std::string_view::npos) return;
  folder_ = std::string(printed_file.substr(0, slash == 0 ? 1 : slash));
}

}  // namespace vozo
