// SPDX-License-Identifier: GPL-3.0-or-later
#include "gral/formats.h"

namespace gral::formats {

RECFMT_DEFINE_FORMAT_TABLE(GRAL_FORMATS)

}  // namespace gral::formats
