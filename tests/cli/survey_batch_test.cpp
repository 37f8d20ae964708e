// SPDX-License-Identifier: GPL-3.0-or-later
// Surveys run as a user runs them: sites that say where they are and what CRSS they take,
// the map of the batch, the batch cut into shares and the shares' summaries merged again.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/term_run.h"
#include "gemino/io_files.h"

namespace {

namespace fs = std::filesystem;
using cli_test::copy_example;
using cli_test::term;
using gemino_test::ScratchDir;
using gemino_test::slurp;

void put(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(SurveyBatch, TheMapPutsEachSiteAtItsPlaceWithItsOwnCrss) {
  ScratchDir dir;
  const struct {
    const char* site;
    const char* description;  // null: no site.json
    double lon, lat;
  } sites[] = {
      {"north", R"({"name": "North", "lon": -3.25, "lat": 56.125})", -3.25, 56.125},
      {"south", R"({"name": "South", "lon": 147.5, "lat": -42.875, "crss_mpa": 20})", 147.5,
       -42.875},
      {"east", R"({"name": "East", "lon": 180, "lat": 0, "depth_m": 350})", 180.0, 0.0},
      {"west", R"({"name": "West", "lon": -120.5, "lat": 37.75})", -120.5, 37.75},
      {"plain", nullptr, 0.0, 0.0},
      {"bad", R"({"name": "Bad", "lon": 10, "lat": 95})", 0.0, 0.0},
  };
  std::string args = "--batch";
  for (const auto& s : sites) {
    copy_example(dir.file(s.site));
    if (s.description != nullptr) put(dir.file(std::string(s.site) + "/site.json"), s.description);
    args += std::string(" ") + s.site;
  }
  const cli_test::Outcome run =
      term(dir, args + " --jobs 2 --summary summary.csv --geojson map.geojson");
  EXPECT_EQ(run.exit_code, 1) << run.err;
  EXPECT_NE(run.err.find("bad/site.json: lat must be from -90"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(dir.file("bad/console.txt")));
  EXPECT_NE(slurp(dir.file("summary.csv")).find("\nbad,65,"), std::string::npos);

  const nlohmann::json map = nlohmann::json::parse(slurp(dir.file("map.geojson")));
  ASSERT_EQ(map["type"], "FeatureCollection");
  ASSERT_EQ(map["features"].size(), std::size(sites));
  for (std::size_t i = 0; i < std::size(sites); ++i) {
    const nlohmann::json& f = map["features"][i];
    EXPECT_EQ(f["properties"]["site"], sites[i].site);
    if (sites[i].description == nullptr || std::string(sites[i].site) == "bad") {
      EXPECT_TRUE(f["geometry"].is_null()) << sites[i].site;
      continue;
    }
    EXPECT_EQ(f["geometry"]["type"], "Point");
    EXPECT_EQ(f["geometry"]["coordinates"], nlohmann::json({sites[i].lon, sites[i].lat}))
        << sites[i].site;
    EXPECT_EQ(f["properties"]["exit_code"], 0) << sites[i].site;
  }
  const nlohmann::json& north = map["features"][0]["properties"];
  const nlohmann::json& south = map["features"][1]["properties"];
  EXPECT_EQ(north["crss_mpa"], 10.0);
  EXPECT_EQ(south["crss_mpa"], 20.0);
  ASSERT_TRUE(north["differential_mpa"].is_number());
  EXPECT_DOUBLE_EQ(south["differential_mpa"].get<double>(),
                   2.0 * north["differential_mpa"].get<double>());
  EXPECT_EQ(map["features"][2]["properties"]["depth_m"], 350.0);
  EXPECT_EQ(map["features"][4]["properties"]["exit_code"], 0);
  EXPECT_TRUE(map["features"][4]["properties"]["regime"].is_string());
  EXPECT_EQ(map["features"][5]["properties"]["exit_code"], 65);
  const nlohmann::json result = nlohmann::json::parse(slurp(dir.file("south/result.json")));
  EXPECT_EQ(result["stress"]["crss_mpa"], 20.0);
}

TEST(SurveyBatch, ThreeSharesMergeToTheWholeBatch) {
  ScratchDir dir;
  // Each site its own CRSS, so that no two rows are alike; one site is missing.
  const std::vector<std::string> sites = {"s1", "s2", "gone", "s3", "s4", "s5"};
  std::string list;
  for (std::size_t i = 0; i < sites.size(); ++i) {
    list += " " + sites[i];
    if (sites[i] == "gone") continue;
    copy_example(dir.file(sites[i]));
    put(dir.file(sites[i] + "/site.json"),
        R"({"name": "x", "lon": 1, "lat": 2, "crss_mpa": )" + std::to_string(5 + i) + "}");
  }
  EXPECT_EQ(term(dir, "--batch" + list + " --jobs 2 --summary whole.csv --geojson whole.geojson")
                .exit_code,
            1);
  const std::string whole = slurp(dir.file("whole.csv"));
  ASSERT_EQ(lines_of(whole).size(), sites.size() + 1);

  std::vector<std::string> joined;
  for (int k = 1; k <= 3; ++k) {
    const std::string part = "part" + std::to_string(k) + ".csv";
    term(dir, "--batch" + list + " --jobs 2 --shard " + std::to_string(k) + "/3 --summary " + part +
                  " --geojson part" + std::to_string(k) + ".geojson");
    const std::vector<std::string> lines = lines_of(slurp(dir.file(part)));
    ASSERT_EQ(lines.size(), 3u) << part;
    EXPECT_EQ(lines[0], lines_of(whole)[0]) << part;
    joined.insert(joined.end(), lines.begin() + 1, lines.end());
  }
  const std::vector<std::string> whole_lines = lines_of(whole);
  std::vector<std::string> rows(whole_lines.begin() + 1, whole_lines.end());
  std::sort(rows.begin(), rows.end());
  std::sort(joined.begin(), joined.end());
  EXPECT_EQ(joined, rows);

  const cli_test::Outcome merged = term(
      dir, "merge-summaries -o merged.csv --sites" + list + " -- part3.csv part1.csv part2.csv");
  EXPECT_EQ(merged.exit_code, 0) << merged.err;
  EXPECT_EQ(slurp(dir.file("merged.csv")), whole);
  std::string listed;
  for (const std::string& s : sites) listed += s + "\n";
  put(dir.file("sites.txt"), listed);
  EXPECT_EQ(term(dir,
                 "merge-summaries part2.csv part1.csv part3.csv --sites-from sites.txt "
                 "--output listed.csv")
                .exit_code,
            0);
  EXPECT_EQ(slurp(dir.file("listed.csv")), whole);
  EXPECT_EQ(
      term(dir, "merge-summaries --sites-from sites.txt -o map.geojson part*.geojson").exit_code,
      0);
  EXPECT_EQ(slurp(dir.file("map.geojson")), slurp(dir.file("whole.geojson")));
}

TEST(SurveyBatch, MistakesEndBeforeAnythingIsRunOrWritten) {
  ScratchDir dir;
  copy_example(dir.file("north"));
  put(dir.file("outside.txt"), "kept\n");
  fs::create_symlink(dir.file("outside.txt"), dir.file("linked.geojson"));
  put(dir.file("a.csv"), "site,exit_code,planes\nnorth,0,42\n");
  put(dir.file("b.csv"), "site,exit_code,R\n");
  put(dir.file("m.geojson"), "{\"type\": \"FeatureCollection\", \"features\": []}\n");
  const struct {
    const char* args;
    int code;
  } cases[] = {
      {"--batch north --shard 0/3", 64},
      {"--batch north --shard 4/3", 64},
      {"--batch north --shard 3", 64},
      {"--batch north --shard 1/0", 64},
      {"--shard 1/2", 64},
      {"--geojson map.geojson", 64},
      {"--batch north --geojson north/report.txt", 64},
      {"--batch north --geojson north/site.json", 64},
      {"--batch north --summary north/site.json", 64},
      {"--batch north --geojson missing/map.geojson", 64},
      {"--batch north --geojson s.csv --summary ./s.csv", 64},
      {"--batch north --geojson linked.geojson", 73},
      {"merge-summaries -o out.csv a.csv", 64},
      {"merge-summaries --sites north a.csv", 64},
      {"merge-summaries -o a.csv --sites north -- a.csv", 64},
      {"merge-summaries -o out.csv --sites north -- a.csv missing.csv", 66},
      {"merge-summaries -o out.csv --sites north -- a.csv b.csv", 65},
      {"merge-summaries -o out.csv --sites north south -- a.csv", 65},
      {"merge-summaries -o out.csv --sites north -- a.csv m.geojson", 65},
  };
  for (const auto& c : cases) {
    const cli_test::Outcome run = term(dir, c.args);
    EXPECT_EQ(run.exit_code, c.code) << c.args << ": " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << c.args << ": " << run.err;
    EXPECT_FALSE(fs::exists(dir.file("north/console.txt"))) << c.args;
    for (const char* made : {"out.csv", "map.geojson", "s.csv", "missing"}) {
      EXPECT_FALSE(fs::exists(dir.file(made))) << c.args << ": " << made;
    }
  }
  const cli_test::Outcome mixed =
      term(dir, "merge-summaries -o out.csv --sites north -- a.csv m.geojson");
  EXPECT_NE(mixed.err.find("m.geojson is a GeoJSON map, unlike a.csv"), std::string::npos)
      << mixed.err;
  EXPECT_EQ(slurp(dir.file("outside.txt")), "kept\n");
  EXPECT_EQ(slurp(dir.file("a.csv")), "site,exit_code,planes\nnorth,0,42\n");
}

}  // namespace
