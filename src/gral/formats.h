// Every format of the general library in one table, each named for what it writes or
// reads, with its old statement label where it had one. The routines use the named
// constants; tests iterate format_table().
#pragma once

#include <span>

#include "recfmt/format.h"

// X(name, text)
#define GRAL_FORMATS(X)                                         \
  X(reply, "(a)")                 /* 11: a reply to a prompt */ \
  X(setting, "(x,a)")             /* initsio 10 */              \
  X(setting_unit, "(x,a,x,i2)")   /* initsio 20 */              \
  X(setting_switch, "(x,a,x,l2)") /* initsio 30 */              \
  X(banner_line, "(5(x,a))")      /* banners 10 */              \
  X(error_rule, "(x,'***',37('*'),'***')")                      \
  X(error_text, "(x,'***',x,a35,x,'***')")                      \
  X(warning_rule, "(x,'///',37('/'),'///')")                    \
  X(warning_text, "(x,'///',x,a35,x,'///')")                    \
  X(prompt_line, "(5(1x,a))")           /* inchardef 10 */      \
  X(prompt_length, "(1x,a,1x,i3,1x,a)") /* inchardef 60 */      \
  X(file_message, "(3(1x,a))")          /* opef2 10 */          \
  X(file_unit, "(1x,a,1x,i4)")          /* opef2 20 */          \
  X(clock_time, "(2(a2,':'),a2)")                               \
  X(clock_date, "(a4,2('-',a2))")

namespace gral::formats {

#define GRAL_DECLARE_FORMAT(name, text) extern const recfmt::Format name;
GRAL_FORMATS(GRAL_DECLARE_FORMAT)
#undef GRAL_DECLARE_FORMAT

}  // namespace gral::formats

namespace gral {

// Every format above with its name, in the order of the table.
std::span<const recfmt::NamedFormat> format_table();

}  // namespace gral
