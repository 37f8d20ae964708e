// SPDX-License-Identifier: GPL-3.0-or-later
// The stress magnitudes of a result as a few lines of text (UTF-8), as the windowed
// program's "Stress magnitudes" dialog shows them.
#pragma once

#include <string>

#include "results/magnitudes.h"

namespace results {

std::string magnitudes_text(const Result& r, const StressMagnitudes& m);

}  // namespace results
