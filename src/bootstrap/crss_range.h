// SPDX-License-Identifier: GPL-3.0-or-later
// The critical resolved shear stress of twinning is known only roughly (about 10 +- 4 MPa
// for calcite, and it depends on grain size and strain): a bootstrap may draw it for each
// resample from a range, so that the interval of the differential stress carries it.
#pragma once

#include <optional>
#include <string_view>

namespace bootstrap {

class TaskRandom;

struct CrssRange {
  double low_mpa = 0.0;
  double high_mpa = 0.0;
};

// "LOW:HIGH" in MPa, finite decimal numbers with 0 < LOW <= HIGH; none otherwise.
std::optional<CrssRange> parse_crss_range(std::string_view text);

// A CRSS drawn uniformly in [low, high] from the task's stream (one draw).
double draw_crss(const CrssRange& range, TaskRandom& random);

}  // namespace bootstrap
