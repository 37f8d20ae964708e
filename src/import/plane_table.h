// SPDX-License-Identifier: GPL-3.0-or-later
// The plane table: one row per twin plane, the grain's c-axis repeated on each of its rows.
//   grain, c_trend, c_plunge, pole_trend, pole_plunge, twinned [, block, twin_count,
//   grain_size_um]
// Trends 0 to 360 and plunges 0 to 90 degrees (reals); twinned 1/0, yes/no or T/U.
#pragma once

#include "import/csv_table.h"
#include "import/grain_set.h"

namespace data_import {

// Whether the header is that of a plane table.
bool is_plane_table(const Table& table);

// The grains of the table, in the order of their first row. A grain's rows may be
// scattered; they must give the same c-axis, at most three planes and no plane twice.
GrainSet read_plane_table(const Table& table);

// Directions closer than this (degrees) count as the same.
inline constexpr double same_direction_degrees = 0.01;

}  // namespace data_import
