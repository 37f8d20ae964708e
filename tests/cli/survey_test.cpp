// SPDX-License-Identifier: GPL-3.0-or-later
// The pieces of a survey that need no run: a site's description, the shares of a batch,
// the map of a summary and the merging of the shares' summaries.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/batch.h"
#include "cli/merge_maps.h"
#include "cli/merge_summaries.h"
#include "cli/site_info.h"
#include "cli/survey.h"

namespace {

using cli::Shard;

TEST(SiteInfo, SoundDescriptionsAreReadAtTheirBounds) {
  const struct {
    const char* text;
    double lon, lat;
  } cases[] = {
      {R"({"name": "A", "lon": -180, "lat": -90})", -180.0, -90.0},
      {R"({"name": "B", "lon": 180, "lat": 90})", 180.0, 90.0},
      {R"({"lat": 45.25, "name": "", "lon": 6.5, "depth_m": 12.5, "crss_mpa": 20})", 6.5, 45.25},
  };
  for (const auto& c : cases) {
    const cli::SiteRead read = cli::parse_site_info(c.text);
    ASSERT_TRUE(read.problem.empty()) << c.text << ": " << read.problem;
    ASSERT_TRUE(read.info);
    EXPECT_EQ(read.info->lon, c.lon) << c.text;
    EXPECT_EQ(read.info->lat, c.lat) << c.text;
  }
  const cli::SiteRead full = cli::parse_site_info(cases[2].text);
  EXPECT_EQ(full.info->depth_m, 12.5);
  EXPECT_EQ(full.info->crss_mpa, 20.0);
  EXPECT_FALSE(cli::parse_site_info(cases[0].text).info->crss_mpa);
}

TEST(SiteInfo, UnsoundDescriptionsSayWhatIsWrong) {
  const struct {
    const char* text;
    const char* says;
  } cases[] = {
      {"", "not valid JSON"},
      {R"({"name": "A", "lon": 1, "lat": 2)", "not valid JSON"},
      {R"([1, 2])", "object"},
      {R"({"lon": 1, "lat": 2})", "lacks name"},
      {R"({"name": "A", "lat": 2})", "lacks lon"},
      {R"({"name": "A", "lon": 2})", "lacks lat"},
      {R"({"name": 7, "lon": 1, "lat": 2})", "name must be a string"},
      {R"({"name": "A", "lon": "1", "lat": 2})", "lon must be a number, not \"1\""},
      {R"({"name": "A", "lon": null, "lat": 2})", "lon must be a number"},
      {R"({"name": "A", "lon": 180.000001, "lat": 2})", "lon must be from -180"},
      {R"({"name": "A", "lon": -180.5, "lat": 2})", "lon must be from -180"},
      {R"({"name": "A", "lon": 1, "lat": 90.5})", "lat must be from -90"},
      {R"({"name": "A", "lon": 1, "lat": -90.000001})", "lat must be from -90"},
      {R"({"name": "A", "lon": 1, "lat": 1e300})", "lat must be from -90"},
      {R"({"name": "A", "lon": 1, "lat": 2, "depth_m": "deep"})", "depth_m must be a number"},
      {R"({"name": "A", "lon": 1, "lat": 2, "crss_mpa": 0})", "crss_mpa must be above 0"},
      {R"({"name": "A", "lon": 1, "lat": 2, "crss_mpa": -5})", "crss_mpa must be above 0"},
      {R"({"name": "A", "lon": 1, "lat": 2, "crss": 20})", "holds \"crss\""},
      {R"({"name": "A", "lng": 1, "lat": 2})", "holds \"lng\""},
  };
  for (const auto& c : cases) {
    const cli::SiteRead read = cli::parse_site_info(c.text);
    EXPECT_FALSE(read.info) << c.text;
    EXPECT_NE(read.problem.find(c.says), std::string::npos) << c.text << ": " << read.problem;
  }
}

TEST(Shard, OnlyKOfNWithKFromOneToNIsAShare) {
  const struct {
    const char* text;
    int32_t k, n;  // 0: not a share
  } cases[] = {
      {"1/1", 1, 1},  {"1/3", 1, 3},          {"3/3", 3, 3},  {"12/40", 12, 40},
      {"0/3", 0, 0},  {"4/3", 0, 0},          {"1/0", 0, 0},  {"0/0", 0, 0},
      {"-1/3", 0, 0}, {"1/-3", 0, 0},         {"+1/3", 0, 0}, {"1/3x", 0, 0},
      {" 1/3", 0, 0}, {"1 /3", 0, 0},         {"/3", 0, 0},   {"1/", 0, 0},
      {"1", 0, 0},    {"1/2/3", 0, 0},        {"a/b", 0, 0},  {"1.0/3", 0, 0},
      {"", 0, 0},     {"1/3000000000", 0, 0},
  };
  for (const auto& c : cases) {
    const std::optional<Shard> shard = cli::shard_named(c.text);
    if (c.k == 0) {
      EXPECT_FALSE(shard) << c.text;
    } else {
      ASSERT_TRUE(shard) << c.text;
      EXPECT_EQ(shard->index, c.k) << c.text;
      EXPECT_EQ(shard->count, c.n) << c.text;
    }
  }
}

TEST(Shard, SharesAreInterleavedAndTogetherHoldEverySiteOnce) {
  const std::vector<std::string> sites = {"a", "b", "c", "d", "e", "f", "g"};
  using V = std::vector<std::string>;
  EXPECT_EQ(cli::shard_sites(sites, {1, 3}), (V{"a", "d", "g"}));
  EXPECT_EQ(cli::shard_sites(sites, {2, 3}), (V{"b", "e"}));
  EXPECT_EQ(cli::shard_sites(sites, {3, 3}), (V{"c", "f"}));
  EXPECT_EQ(cli::shard_sites(sites, {1, 1}), sites);
  EXPECT_EQ(cli::shard_sites(sites, {9, 9}), V{});
  for (int32_t n = 1; n <= 9; ++n) {
    std::multiset<std::string> all;
    for (int32_t k = 1; k <= n; ++k) {
      const V share = cli::shard_sites(sites, {k, n});
      EXPECT_LE(share.size(), (sites.size() + n - 1) / n) << k << "/" << n;
      all.insert(share.begin(), share.end());
    }
    EXPECT_EQ(all, std::multiset<std::string>(sites.begin(), sites.end())) << n;
  }
}

// A result file as a run writes it, cut to what the summary and the map read.
std::string result_text(double shmax, const char* regime, bool resampled) {
  nlohmann::json j = {{"counts", {{"planes", 42}, {"twinned", 30}}},
                      {"stress",
                       {{"crss_mpa", 20.0},
                        {"differential_mpa", 81.25},
                        {"differential_range_mpa", {80.5, nullptr}},
                        {"regime", regime},
                        {"shmax_azimuth", shmax}}}};
  if (resampled) {
    j["bootstrap"] = {{"shmax_spread_deg", 7.5}, {"differential_mpa_interval", {70.0, 95.5}}};
  }
  return j.dump();
}

TEST(GeoJson, EachSiteIsAPointAtLonLatWithItsResults) {
  cli::SiteInfo north{"North quarry", -3.25, 56.5, 120.0, std::nullopt};
  cli::SiteInfo south{"South", 170.0, -45.0, std::nullopt, 20.0};
  const std::vector<cli::MappedSite> sites = {
      {"sites/north", 0, north, result_text(40.5, "SS", true)},
      {"sites/lost", 66, std::nullopt, ""},
      {"sites/south", 0, south, result_text(120.0, "TF", false)},
  };
  const cli::SummaryColumns extra = {{"two_planes", "/counts/planes"}};
  const nlohmann::json g = nlohmann::json::parse(cli::geojson_text(sites, extra));
  EXPECT_EQ(g["type"], "FeatureCollection");
  ASSERT_EQ(g["features"].size(), 3u);
  const nlohmann::json& n = g["features"][0];
  EXPECT_EQ(n["type"], "Feature");
  EXPECT_EQ(n["geometry"], nlohmann::json({{"type", "Point"}, {"coordinates", {-3.25, 56.5}}}));
  const nlohmann::json& p = n["properties"];
  EXPECT_EQ(p["site"], "sites/north");
  EXPECT_EQ(p["name"], "North quarry");
  EXPECT_EQ(p["depth_m"], 120.0);
  EXPECT_EQ(p["exit_code"], 0);
  EXPECT_EQ(p["planes"], 42);
  EXPECT_EQ(p["two_planes"], 42);
  EXPECT_EQ(p["untwinned"], nullptr);
  EXPECT_EQ(p["regime"], "SS");
  EXPECT_EQ(p["shmax_azimuth"], 40.5);
  EXPECT_EQ(p["differential_mpa"], 81.25);
  EXPECT_EQ(p["differential_low_mpa"], 80.5);
  EXPECT_EQ(p["differential_high_mpa"], nullptr);
  EXPECT_EQ(p["shmax_spread_deg"], 7.5);
  EXPECT_EQ(p["differential_ci95_low_mpa"], 70.0);
  EXPECT_EQ(p["differential_ci95_high_mpa"], 95.5);
  // Every column of the summary is a property of every feature, whatever the site gave.
  for (const auto& [name, pointer] : cli::standard_summary_columns()) {
    for (const nlohmann::json& f : g["features"]) {
      EXPECT_TRUE(f["properties"].contains(name)) << name;
    }
  }
  const nlohmann::json& lost = g["features"][1];
  EXPECT_TRUE(lost["geometry"].is_null());
  EXPECT_EQ(lost["properties"]["exit_code"], 66);
  EXPECT_EQ(lost["properties"]["site"], "sites/lost");
  EXPECT_EQ(lost["properties"]["name"], nullptr);
  const nlohmann::json& s = g["features"][2];
  EXPECT_EQ(s["geometry"]["coordinates"], nlohmann::json({170.0, -45.0}));
  EXPECT_EQ(s["properties"]["regime"], "TF");
  EXPECT_EQ(s["properties"]["shmax_spread_deg"], nullptr);
  EXPECT_EQ(s["properties"]["depth_m"], nullptr);
}

const char* const header = "site,exit_code,planes,regime\n";

cli::SummaryPart part(const char* name, const std::string& rows) {
  return {name, std::string(header) + rows};
}

TEST(MergeSummaries, RowsComeBackInTheOrderOfTheSitesAsTheyWere) {
  const std::vector<std::string> sites = {"a", "b,c", "d\"e", "f\ng", "h"};
  const std::vector<cli::SummaryPart> parts = {
      part("one.csv", "\"f\ng\",0,12,SS\na,0,42,NF\n"), part("two.csv", "\"b,c\",1,,\n"),
      part("three.csv", "h,0,7,\"T,F\"\n\"d\"\"e\",66,,"),  // the last line end lost
  };
  const cli::Merged merged = cli::merge_summaries(sites, parts);
  ASSERT_EQ(merged.problem, "");
  EXPECT_EQ(merged.text, std::string(header) +
                             "a,0,42,NF\n\"b,c\",1,,\n\"d\"\"e\",66,,\n\"f\ng\",0,12,SS\n"
                             "h,0,7,\"T,F\"\n");
  const cli::Merged empty_share =
      cli::merge_summaries({"a"}, {part("x.csv", ""), part("y.csv", "a,0,1,SS\n")});
  EXPECT_EQ(empty_share.text, std::string(header) + "a,0,1,SS\n");
}

TEST(MergeSummaries, PartsThatDoNotMakeOneSummaryAreRefused) {
  const struct {
    std::vector<std::string> sites;
    std::vector<cli::SummaryPart> parts;
    const char* says;
  } cases[] = {
      {{"a", "b"}, {part("1.csv", "a,0,1,SS\n")}, "the site b is in none"},
      {{"a", "b", "c"}, {part("1.csv", "a,0,1,SS\n")}, "(nor are 1 more)"},
      {{"a"}, {part("1.csv", "a,0,1,SS\n"), part("2.csv", "a,0,1,SS\n")}, "two rows"},
      {{"a"}, {part("1.csv", "a,0,1,SS\na,0,1,SS\n")}, "1.csv line 2 and 1.csv line 3"},
      {{"a"}, {part("1.csv", "a,0,1,SS\nz,0,1,SS\n")}, "1.csv line 3: the site z is not"},
      {{"a", "a"}, {part("1.csv", "a,0,1,SS\n")}, "names the site a twice"},
      {{}, {part("1.csv", "")}, "list of sites is empty"},
      {{"a"}, {}, "no summary"},
      {{"a"}, {part("1.csv", "a,0,1\n")}, "3 fields, the header 4"},
      {{"a"}, {part("1.csv", "a,0,1,SS,x\n")}, "5 fields"},
      {{"a"}, {part("1.csv", "\"a,0,1,SS\n")}, "quoted field is not closed"},
      {{"a"}, {{"1.csv", "planes,regime\na,0\n"}}, "1.csv is not a batch summary"},
      {{"a"}, {{"1.csv", ""}}, "1.csv is not a batch summary"},
      {{"a"},
       {part("1.csv", ""), {"2.csv", "site,exit_code,planes,regime,R\na,0,1,SS,0.5\n"}},
       "2.csv: its header differs from that of 1.csv"},
  };
  for (const auto& c : cases) {
    const cli::Merged merged = cli::merge_summaries(c.sites, c.parts);
    EXPECT_EQ(merged.text, "") << c.says;
    EXPECT_NE(merged.problem.find(c.says), std::string::npos) << c.says << ": " << merged.problem;
  }
}

// The map of every share of a batch, as the shares' batches write them.
std::string share_map(const std::vector<cli::MappedSite>& all, cli::Shard shard) {
  std::vector<cli::MappedSite> share;
  for (std::size_t i = static_cast<std::size_t>(shard.index - 1); i < all.size();
       i += static_cast<std::size_t>(shard.count)) {
    share.push_back(all[i]);
  }
  return cli::geojson_text(share, {});
}

TEST(MergeMaps, SharesMapsMergeToTheWholeBatchsMap) {
  const cli::SiteInfo here{"Here", 6.5, 45.25, 10.0, 15.0};
  std::vector<cli::MappedSite> all;
  std::vector<std::string> sites;
  for (int i = 0; i < 7; ++i) {
    const std::string site = "s" + std::to_string(i);
    sites.push_back(site);
    all.push_back({site, i == 3 ? 66 : 0, i == 5 ? std::nullopt : std::optional(here),
                   i == 3 ? "" : result_text(10.0 * i + 0.1, "SS", i % 2 == 0)});
  }
  const std::string whole = cli::geojson_text(all, {});
  const std::vector<cli::SummaryPart> parts = {{"3.geojson", share_map(all, {3, 3})},
                                               {"1.geojson", share_map(all, {1, 3})},
                                               {"2.geojson", share_map(all, {2, 3})}};
  for (const cli::SummaryPart& p : parts) EXPECT_TRUE(cli::is_map(p.text)) << p.name;
  const cli::Merged merged = cli::merge_maps(sites, parts);
  EXPECT_EQ(merged.problem, "");
  EXPECT_EQ(merged.text, whole);

  const std::string other_columns =
      cli::geojson_text({all[1]}, {{"extra", "/counts/planes"}});  // a property more
  const struct {
    std::vector<std::string> sites;
    std::vector<cli::SummaryPart> parts;
    const char* says;
  } cases[] = {
      {{"s0", "s1", "s2", "s3", "s4", "s5", "s6", "s7"}, parts, "the site s7 is in none"},
      {{"s0", "s2", "s3", "s4", "s5", "s6"}, parts, "the site s1 is not in the list"},
      {sites, {parts[0], parts[1], parts[2], parts[0]}, "two features: in 3.geojson and in 3.g"},
      {sites, {parts[0], {"x.geojson", other_columns}}, "x.geojson: its properties differ"},
      {sites, {{"x.geojson", R"({"type": "Feature"})"}}, "not a batch's GeoJSON map"},
      {sites, {{"x.geojson", "{"}}, "not a batch's GeoJSON map"},
      {sites,
       {{"x.geojson", R"({"type": "FeatureCollection", "features": [{"properties": {}}]})"}},
       "x.geojson holds a feature that is not a site's"},
  };
  for (const auto& c : cases) {
    const cli::Merged refused = cli::merge_maps(c.sites, c.parts);
    EXPECT_EQ(refused.text, "") << c.says;
    EXPECT_NE(refused.problem.find(c.says), std::string::npos) << c.says << ": " << refused.problem;
  }
}

}  // namespace
