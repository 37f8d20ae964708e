// SPDX-License-Identifier: GPL-3.0-or-later
// The units the run reads and writes, as opened by the driver. The console's own units
// (prompts, banners) are the general library's (gral::ciocom()).
#pragma once

#include <cstdint>

namespace gemino {

inline constexpr int32_t console_unit = 6;    // messages that end a run
inline constexpr int32_t parameter_unit = 3;  // the parameter file
inline constexpr int32_t data_unit = 4;       // the twin data file
inline constexpr int32_t report_unit = 8;     // the report

}  // namespace gemino
