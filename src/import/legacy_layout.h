// SPDX-License-Identifier: GPL-3.0-or-later
// The choice of file, block and grain number for every grain of a table.
#pragma once

#include <cstdint>
#include <vector>

#include "import/grain_set.h"

namespace data_import {

struct BlockLayout {
  std::vector<std::size_t> grains;  // indices into GrainSet::grains
  std::vector<int32_t> numbers;     // their grain numbers in the file
};

struct FileLayout {
  std::vector<BlockLayout> blocks;  // block 1, 2, ...; a block may be empty
};

struct Layout {
  std::vector<FileLayout> files;
  bool renumbered = false;
};

// Keeps the table's numbers when they fit one file: its blocks, or its grain numbers
// when they all lie within 1..99. Otherwise numbers the grains 1 to 99 in each block in
// the table's order, and starts a new file (with `split`) or fails when a file is full.
Layout lay_out(const GrainSet& set, bool split);

}  // namespace data_import
