// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/input_queue.h"

namespace vozo {

std::vector<PastedLine> pasted_lines(std::string_view text) {
  std::vector<PastedLine> lines;
  std::string current;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      lines.push_back({std::move(current), true});
      current.clear();
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      continue;
    }
    current += c;
  }
  if (!current.empty()) lines.push_back({std::move(current), false});
  return lines;
}

}  // namespace vozo
