// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/shown_text.h"

#include "vozo/text_cells.h"

namespace vozo_qt {

QString shown_text(std::string_view bytes) {
  if (vozo::is_ascii(bytes)) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
  }
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  const auto size = static_cast<int32_t>(bytes.size());
  for (int32_t at = 0; at < size; at += vozo::char_size(bytes, at)) {
    const char32_t code = vozo::char_code(bytes, at);
    text += QString::fromUcs4(&code, 1);
  }
  return text;
}

}  // namespace vozo_qt
