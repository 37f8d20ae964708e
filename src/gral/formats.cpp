#include "gral/formats.h"

namespace gral {

namespace formats {

#define GRAL_DEFINE_FORMAT(name, text) const recfmt::Format name(text);
GRAL_FORMATS(GRAL_DEFINE_FORMAT)
#undef GRAL_DEFINE_FORMAT

}  // namespace formats

std::span<const recfmt::NamedFormat> format_table() {
#define GRAL_FORMAT_ENTRY(name, text) {#name, formats::name},
  static const recfmt::NamedFormat table[] = {GRAL_FORMATS(GRAL_FORMAT_ENTRY)};
#undef GRAL_FORMAT_ENTRY
  return table;
}

}  // namespace gral
