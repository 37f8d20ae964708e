// SPDX-License-Identifier: GPL-3.0-or-later
// Every format of the general library in one table, each named for what it writes or
// reads, with its old statement label where it had one. The routines use the named
// constants; tests iterate formats::table().
#pragma once

#include "recfmt/format_table.h"

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

RECFMT_DECLARE_FORMAT_TABLE(GRAL_FORMATS)

}  // namespace gral::formats
