// SPDX-License-Identifier: GPL-3.0-or-later
// A run that counts another share of twins than its parameter file asks for (a search
// chosen once the data are read) writes the share it counted into the report: into the
// echo of the run parameters and into the twin counts after the data, so that the report
// reads as the run of a parameter file asking that share.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace gemino {

// Where the twin percentage stands in the echo of the run parameters (T5, I1, 1X, I3, 1X,
// then I3): its first column counted from 0. The twin counts' last record gives the twins
// counted after this text (then I3).
inline constexpr int32_t share_column = 10;
inline constexpr std::string_view counted_label = "  POURCENTAGE  ";

// An integer as the I3 edit writes it: right-aligned in three columns, asterisks when it
// does not fit.
std::string i3_field(int32_t value);

// In the report file `name`: puts `twin_percent` in place of the share in record
// `echo_record` (counted from 0, the echo of the run parameters), and `twins_counted` in
// the first later record that begins with counted_label. The file keeps its size: nothing
// else in it moves. False (the file unchanged) when the file cannot be read and written or
// either record is missing or too short.
bool write_share_used(const std::string& name, int32_t echo_record, int32_t twin_percent,
                      int32_t twins_counted);

}  // namespace gemino
