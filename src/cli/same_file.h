// SPDX-License-Identifier: GPL-3.0-or-later
// Whether two names given to the program are one file: the windowed program asks it too.
#pragma once

#include "safe_file/same_file.h"

namespace cli {

using safe_file::normal_path;
using safe_file::same_file;

}  // namespace cli
