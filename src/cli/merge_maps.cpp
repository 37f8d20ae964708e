// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/merge_maps.h"

#include <map>

#include <nlohmann/json.hpp>

namespace cli {

namespace {

using ordered = nlohmann::ordered_json;

std::vector<std::string> property_names(const ordered& feature) {
  std::vector<std::string> names;
  for (const auto& [name, value] : feature.at("properties").items()) names.push_back(name);
  return names;
}

bool batch_feature(const ordered& f) {
  return f.is_object() && f.contains("properties") && f.at("properties").is_object() &&
         f.at("properties").contains("site") && f.at("properties").at("site").is_string();
}

}  // namespace

bool is_map(const std::string& text) {
  const std::size_t at = text.find_first_not_of(" \t\r\n");
  return at != std::string::npos && text[at] == '{';
}

Merged merge_maps(const std::vector<std::string>& sites, const std::vector<SummaryPart>& parts) {
  if (sites.empty()) return {{}, "the list of sites is empty"};
  if (parts.empty()) return {{}, "no map to merge"};
  std::map<std::string, std::size_t> position;
  for (std::size_t i = 0; i < sites.size(); ++i) {
    if (!position.emplace(sites[i], i).second) {
      return {{}, "the list names the site " + sites[i] + " twice"};
    }
  }
  std::vector<ordered> features(sites.size());
  std::vector<std::string> found_in(sites.size());
  std::vector<std::string> names;
  const std::string* names_from = nullptr;
  for (const SummaryPart& part : parts) {
    const ordered map = ordered::parse(part.text, nullptr, false);
    if (map.is_discarded() || !map.is_object() || map.value("type", "") != "FeatureCollection" ||
        !map.contains("features") || !map.at("features").is_array()) {
      return {{}, part.name + " is not a batch's GeoJSON map"};
    }
    for (const ordered& f : map.at("features")) {
      if (!batch_feature(f)) return {{}, part.name + " holds a feature that is not a site's"};
      if (names_from == nullptr) {
        names = property_names(f);
        names_from = &part.name;
      } else if (property_names(f) != names) {
        return {{}, part.name + ": its properties differ from those of " + *names_from};
      }
      const std::string site = f.at("properties").at("site").get<std::string>();
      const auto at = position.find(site);
      if (at == position.end()) {
        return {{}, part.name + ": the site " + site + " is not in the list"};
      }
      if (!found_in[at->second].empty()) {
        return {{},
                "the site " + site + " has two features: in " + found_in[at->second] + " and in " +
                    part.name};
      }
      found_in[at->second] = part.name;
      features[at->second] = f;
    }
  }
  std::size_t missing = 0;
  std::string first_missing;
  for (std::size_t i = 0; i < sites.size(); ++i) {
    if (!found_in[i].empty()) continue;
    if (missing++ == 0) first_missing = sites[i];
  }
  if (missing > 0) {
    return {{},
            "the site " + first_missing + " is in none of the maps" +
                (missing > 1 ? " (nor are " + std::to_string(missing - 1) + " more)" : "")};
  }
  const ordered collection = {{"type", "FeatureCollection"}, {"features", features}};
  return {collection.dump(2) + "\n", {}};
}

}  // namespace cli
