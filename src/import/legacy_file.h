// SPDX-License-Identifier: GPL-3.0-or-later
// Grains laid out in the blocks of the twin data file and written as its fixed-column
// records, in whole degrees. The file's limits are kept, never broken: at most 99 grains
// to a block (grain numbers 1 to 99), at most 500 planes, data numbers below 1000 and
// distinct (so at most three blocks of grains with three planes). A table that does not
// fit is an error, or, when asked, goes to several files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "import/grain_set.h"

namespace data_import {

// Where a grain of the table went.
struct Placement {
  int64_t source_grain = 0;
  int32_t source_block = 0;  // 0: the table has no block column
  int32_t file = 0;          // 0 for the first file
  int32_t block = 0;         // 1 for the first block of its file
  int32_t grain = 0;         // the grain number in the file, 1 to 99
};

struct LegacyFiles {
  std::vector<std::string> texts;  // the data files' contents
  std::vector<Placement> placements;
  int32_t grain_count = 0;
  int32_t plane_count = 0;
  bool renumbered = false;  // grains or blocks numbered otherwise than in the table
  // The largest angle (degrees) between a direction of the table and the one the data
  // reader makes of the whole degrees written: c-axes, poles and glide directions.
  double c_axis_change = 0.0;
  double pole_change = 0.0;
  double glide_change = 0.0;
};

LegacyFiles write_legacy(const GrainSet& set, bool split);

inline constexpr int32_t max_grains_per_block = 99;
inline constexpr int32_t max_blocks_per_file = 3;
inline constexpr int32_t max_planes_per_file = 500;

}  // namespace data_import
