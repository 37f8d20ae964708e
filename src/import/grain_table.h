// SPDX-License-Identifier: GPL-3.0-or-later
// The EBSD grain table: one row per grain.
//   grain, phi1, Phi, phi2, e1, e2, e3 [, grain_size_um]
// Bunge Euler angles in degrees; e1..e3 say whether each e-plane is twinned (1/0, yes/no,
// T/U). The conventions are declared, never guessed: by comments before the header
//   # euler: bunge-passive | bunge-active
//   # crystal_frame: x=a | x=a*
//   # specimen_to_geographic: PSI1 PSI PSI2
// or by the same settings given by the caller (the command line's options).
#pragma once

#include <string>

#include "import/csv_table.h"
#include "import/grain_set.h"

namespace data_import {

// Settings given besides the file; an empty string is not given.
struct Declarations {
  std::string euler;
  std::string crystal_frame;
  std::string specimen_to_geographic;
};

bool is_grain_table(const Table& table);

// Every grain with its c-axis and its three e-planes in the geographic frame. A
// convention declared nowhere, declared twice differently or written wrongly is an error
// that names it; so is a grain given twice.
GrainSet read_grain_table(const Table& table, const Declarations& given);

}  // namespace data_import
