// SPDX-License-Identifier: GPL-3.0-or-later
// What a table says, whatever its form: grains, each with its c-axis and its planes, in
// the geographic frame and in double precision, with the place each came from.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "import/csv_table.h"
#include "import/directions.h"

namespace data_import {

struct SourcePlane {
  Vec pole;  // unit normal, either sense
  bool twinned = false;
  Place place;  // the row's first field
};

struct SourceGrain {
  int64_t id = 0;     // the table's grain number, 1 or more
  int32_t block = 0;  // the table's block, 0 when the table has none
  Vec c_axis;         // unit, either sense
  Place place;        // of the grain number where the grain first appears
  std::vector<SourcePlane> planes;
};

struct GrainSet {
  std::string form;  // "plane table" or "EBSD grain table"
  bool has_blocks = false;
  std::vector<SourceGrain> grains;  // in the order of their first row
};

// The most planes a grain may have: its three e-planes.
inline constexpr int32_t max_planes_per_grain = 3;

}  // namespace data_import
