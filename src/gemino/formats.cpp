#include "gemino/formats.h"

namespace gemino {

namespace formats {

#define GEMINO_DEFINE_FORMAT(name, text) const recfmt::Format name(text);
GEMINO_FORMATS(GEMINO_DEFINE_FORMAT)
#undef GEMINO_DEFINE_FORMAT

}  // namespace formats

std::span<const recfmt::NamedFormat> format_table() {
#define GEMINO_FORMAT_ENTRY(name, text) {#name, formats::name},
  static const recfmt::NamedFormat table[] = {GEMINO_FORMATS(GEMINO_FORMAT_ENTRY)};
#undef GEMINO_FORMAT_ENTRY
  return table;
}

}  // namespace gemino
