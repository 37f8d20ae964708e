// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/survey.h"

#include <charconv>

#include <nlohmann/json.hpp>

namespace cli {

namespace {

using ordered = nlohmann::ordered_json;

std::optional<int32_t> whole_number(const std::string& text) {
  int32_t v = 0;
  const char* end = text.data() + text.size();
  const auto [at, error] = std::from_chars(text.data(), end, v);
  if (text.empty() || text[0] == '-' || error != std::errc() || at != end) return std::nullopt;
  return v;
}

// A value of the result file as a property: scalars as they are, anything else null.
ordered property(const nlohmann::json& j, const std::string& pointer) {
  const nlohmann::json::json_pointer at(pointer);
  if (!j.is_object() || !j.contains(at)) return nullptr;
  const nlohmann::json& v = j.at(at);
  if (v.is_number_integer()) return v.get<int64_t>();
  if (v.is_number()) return v.get<double>();
  if (v.is_string()) return v.get<std::string>();
  if (v.is_boolean()) return v.get<bool>();
  return nullptr;
}

ordered optional_number(const std::optional<double>& v) {
  return v ? ordered(*v) : ordered(nullptr);
}

}  // namespace

void add_survey_options(CLI::App& app, Options& options, CLI::Option* batch) {
  app.add_option("--geojson", options.geojson,
                 "Write the batch summary as GeoJSON to FILE: a point per site at the place its "
                 "site.json gives")
      ->type_name("FILE")
      ->needs(batch)
      ->group("Batch");
  app.add_option_function<std::string>(
         "--shard",
         [&options](const std::string& text) {
           const std::optional<Shard> shard = shard_named(text);
           options.shard_index = shard->index;
           options.shard_count = shard->count;
         },
         "Run only the K-th of N shares of the sites: those at positions K, K + N, K + 2N, ... "
         "of the list")
      ->check(CLI::Validator(
          [](std::string& value) {
            return shard_named(value) ? std::string()
                                      : "expects K/N, whole numbers with 1 <= K <= N, not " + value;
          },
          "", "shard"))
      ->type_name("K/N")
      ->needs(batch)
      ->group("Batch");
}

std::optional<Shard> shard_named(const std::string& text) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return std::nullopt;
  const std::optional<int32_t> k = whole_number(text.substr(0, slash));
  const std::optional<int32_t> n = whole_number(text.substr(slash + 1));
  if (!k || !n || *k < 1 || *k > *n) return std::nullopt;
  return Shard{*k, *n};
}

std::vector<std::string> shard_sites(const std::vector<std::string>& sites, Shard shard) {
  std::vector<std::string> share;
  const std::size_t count = static_cast<std::size_t>(shard.count);
  for (std::size_t i = static_cast<std::size_t>(shard.index - 1); i < sites.size(); i += count) {
    share.push_back(sites[i]);
  }
  return share;
}

std::string geojson_text(const std::vector<MappedSite>& sites, const SummaryColumns& extra) {
  ordered features = ordered::array();
  for (const MappedSite& s : sites) {
    nlohmann::json result;
    if (!s.json_text.empty()) result = nlohmann::json::parse(s.json_text, nullptr, false);
    if (result.is_discarded()) result = nullptr;
    ordered p = ordered::object();
    p["site"] = s.site;
    p["name"] = s.info ? ordered(s.info->name) : ordered(nullptr);
    p["depth_m"] = s.info ? optional_number(s.info->depth_m) : ordered(nullptr);
    p["exit_code"] = s.exit_code;
    for (const auto& [name, pointer] : standard_summary_columns()) {
      p[name] = property(result, pointer);
    }
    for (const auto& [name, pointer] : extra) p[name] = property(result, pointer);
    p["shmax_spread_deg"] = property(result, "/bootstrap/shmax_spread_deg");
    p["differential_ci95_low_mpa"] = property(result, "/bootstrap/differential_mpa_interval/0");
    p["differential_ci95_high_mpa"] = property(result, "/bootstrap/differential_mpa_interval/1");
    ordered geometry = nullptr;
    if (s.info) {
      geometry = {{"type", "Point"}, {"coordinates", ordered::array({s.info->lon, s.info->lat})}};
    }
    features.push_back({{"type", "Feature"}, {"geometry", geometry}, {"properties", p}});
  }
  const ordered collection = {{"type", "FeatureCollection"}, {"features", features}};
  return collection.dump(2) + "\n";
}

}  // namespace cli
