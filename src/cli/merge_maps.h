// SPDX-License-Identifier: GPL-3.0-or-later
// The GeoJSON maps of a batch's shares made into the map of the whole batch.
#pragma once

#include <string>
#include <vector>

#include "cli/merge_summaries.h"

namespace cli {

// Whether a part is a map (a JSON object) rather than a summary.
bool is_map(const std::string& text);

// The features of every part in the order of `sites` (matched against each feature's
// `site` property), as one FeatureCollection written as the batch writes it. Refused as
// merge_summaries refuses: a part that is not a FeatureCollection of the batch's features,
// property names that differ from the first feature's, a site named twice, a feature of a
// site not in the list and a site of the list in no part.
Merged merge_maps(const std::vector<std::string>& sites, const std::vector<SummaryPart>& parts);

}  // namespace cli
