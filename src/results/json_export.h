// SPDX-License-Identifier: GPL-3.0-or-later
// The result of a run as JSON, and the planes as CSV. Reals of the computation are written
// with the fewest digits that read back as the same single-precision value.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "results/magnitudes.h"
#include "results/result_model.h"

namespace results {

// Changes whenever a key is renamed or removed or changes meaning; new keys do not.
inline constexpr int schema_version = 1;

nlohmann::ordered_json to_json(const Result& r, const StressMagnitudes& m);

// One row per plane, with a header row; records end with a line feed.
std::string planes_csv(const Result& r);

// A single-precision value as the double of its shortest decimal form (0.306f gives 0.306),
// or null when it is not finite.
nlohmann::ordered_json float_value(float v);

// The shortest decimal form of a single-precision value; empty when it is not finite.
std::string float_text(float v);

}  // namespace results
