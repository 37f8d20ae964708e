// SPDX-License-Identifier: GPL-3.0-or-later
// A survey of many sites: one share of them for each machine of a cluster, and the map of
// the results.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cli/batch.h"
#include "cli/site_info.h"

namespace cli {

// Adds --geojson and --shard, both needing --batch, to the command line.
void add_survey_options(CLI::App& app, Options& options, CLI::Option* batch);

// The K-th of N shares of a batch (K from 1 to N).
struct Shard {
  int32_t index = 1;
  int32_t count = 1;
};

// Reads "K/N" (whole numbers, 1 <= K <= N); empty when the text is not that.
std::optional<Shard> shard_named(const std::string& text);

// The sites of a share: those at positions i (from 0) with i mod N == K - 1, in the order
// given, so that every share gets sites from the whole list.
std::vector<std::string> shard_sites(const std::vector<std::string>& sites, Shard shard);

// What the map shows of one site: the batch's name of it, its exit code, its description
// (none when it has no usable site.json) and the text of its result.json (empty when there
// is none).
struct MappedSite {
  std::string site;
  int exit_code = 0;
  std::optional<SiteInfo> info;
  std::string json_text;
};

// The batch summary as a GeoJSON FeatureCollection: a Point at [lon, lat] for each site
// with a description, a null geometry for the others, in the order of the sites; the
// properties are the summary's columns (numbers as numbers, empty fields as null), the
// site's description, and the bootstrap's SHmax spread and differential stress interval
// when the run resampled.
std::string geojson_text(const std::vector<MappedSite>& sites, const SummaryColumns& extra);

}  // namespace cli
