// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/formats.h"

namespace gemino::formats {

RECFMT_DEFINE_FORMAT_TABLE(GEMINO_FORMATS)

}  // namespace gemino::formats
