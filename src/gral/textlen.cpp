// SPDX-License-Identifier: GPL-3.0-or-later
#include "gral/textlen.h"

namespace gral {

void textlen(int32_t& i1, int32_t& i2, std::string_view text) {
  i1 = 1;
  i2 = static_cast<int32_t>(text.size());
  while (i1 < i2 && text[static_cast<std::size_t>(i1 - 1)] == ' ') ++i1;
  while (i1 < i2 && text[static_cast<std::size_t>(i2 - 1)] == ' ') --i2;
}

std::string_view nonblank(std::string_view text) {
  int32_t i1 = 0;
  int32_t i2 = 0;
  textlen(i1, i2, text);
  if (i2 < i1) return text.substr(0, 0);
  return text.substr(static_cast<std::size_t>(i1 - 1), static_cast<std::size_t>(i2 - i1 + 1));
}

}  // namespace gral
