// SPDX-License-Identifier: GPL-3.0-or-later
// What a whole run writes beside its report, whatever its input holds: outputs that strict
// readers parse for any bytes of the title, undefined values as null or "undefined",
// warnings when nothing constrains the tensor, every c-axis record, and the mistakes of a
// command line found before the run.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/term_run.h"
#include "gemino/io_files.h"

namespace {

namespace fs = std::filesystem;
using gemino_test::ScratchDir;
using gemino_test::slurp;

using cli_test::Outcome;
using cli_test::term;

int shell(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The example's parameter file with another first line.
void params_with_title(const ScratchDir& dir, const std::string& title) {
  const std::string params = slurp(GEMINO_EXAMPLES "/params.txt");
  test_support::put(dir.file("params.txt"), title + params.substr(params.find('\n')));
}

// The example's data with every twinned plane marked untwinned.
void untwinned_data(const ScratchDir& dir) {
  std::ifstream in(GEMINO_EXAMPLES "/data.txt");
  std::string out;
  for (std::string line; std::getline(in, line);) {
    if (line.size() >= 30 && line[29] != ' ' && line[29] != 'N') line[29] = 'N';
    out += line + "\n";
  }
  test_support::put(dir.file("data.txt"), out);
}

TEST(HonestOutputs, HostileTitleBytesGiveOutputsThatParse) {
  const struct {
    const char* name;
    std::string title;
  } titles[] = {
      {"latin1", "Bassin de l'\xC9tang de Berre \xB0\xE9\xE8\xFF"},
      {"high bytes alone", "\x80\x81\x9F\xA0\xFE\xFF"},
      {"cut utf8", "Site \xE2\x82"},
      {"bad utf8", "\xC0\xAF \xED\xA0\x80 \xF4\x90\x80\x80 \xEF\xBF\xBE"},
      {"controls", std::string("a\x01\x02\x1B[2J\x7F\x08\x0C z\0tail", 17)},
      {"markup", "<svg>&amp; \"quoted\" 'single' ]]> <!-- -->"},
      {"csv", "a,b;\"c\",\r\"d\"\r"},
  };
  for (const auto& t : titles) {
    ScratchDir dir;
    params_with_title(dir, t.title);
    fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
    const Outcome run = term(dir,
                             "params.txt data.txt report.txt --json r.json --csv r.csv "
                             "--stereonet s.svg --grains g.svg --shear-plot p.pdf");
    ASSERT_EQ(run.exit_code, 0) << t.name << ": " << run.err;
    nlohmann::json j;
    ASSERT_NO_THROW(j = nlohmann::json::parse(slurp(dir.file("r.json")))) << t.name;
    const std::string title = j["parameters"]["title"];
    EXPECT_FALSE(title.empty()) << t.name;
    EXPECT_EQ(
        shell("python3 -c 'import json,sys; json.load(sys.stdin)' < '" + dir.file("r.json") + "'"),
        0)
        << t.name;
    for (const char* svg : {"s.svg", "g.svg"}) {
      EXPECT_EQ(shell("xmllint --noout '" + dir.file(svg) + "' 2> /dev/null"), 0)
          << t.name << " " << svg;
    }
    EXPECT_EQ(slurp(dir.file("p.pdf")).rfind("%PDF", 0), 0u) << t.name;
    // Every CSV row has the header's fields.
    std::ifstream csv(dir.file("r.csv"));
    std::string header;
    std::getline(csv, header);
    const auto fields = std::count(header.begin(), header.end(), ',');
    for (std::string row; std::getline(csv, row);) {
      ASSERT_EQ(std::count(row.begin(), row.end(), ','), fields) << t.name;
    }
  }
}

TEST(HonestOutputs, NothingToConstrainWarnsAndPrintsNoEndlessNumber) {
  ScratchDir dir;
  fs::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  untwinned_data(dir);
  const Outcome plain = term(dir, "params.txt data.txt report.txt");
  ASSERT_EQ(plain.exit_code, 0);
  const Outcome run = term(dir,
                           "params.txt data.txt report.txt --json r.json --stereonet s.svg "
                           "--shear-plot p.svg --bootstrap 8 --bootstrap-csv b.csv "
                           "--scan-twin-percent 80:100:10 --scan-figure scan.svg "
                           "--confidence-summary");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  // The warning is on standard error; the console of the plain run has none.
  EXPECT_NE(run.err.find("warning: no plane is twinned"), std::string::npos) << run.err;
  EXPECT_NE(plain.err.find("warning: no plane is twinned"), std::string::npos) << plain.err;
  EXPECT_EQ(plain.out.find("nothing constrains"), std::string::npos);
  const nlohmann::json j = nlohmann::json::parse(slurp(dir.file("r.json")));
  ASSERT_FALSE(j["warnings"].empty());
  EXPECT_EQ(j["warnings"][0], "no plane is twinned: nothing constrains the tensor");
  EXPECT_EQ(j["stress"]["differential_mpa"], nullptr);
  // Every resample leaves the differential stress undefined: counted, no interval, empty
  // CSV fields, null scan rows, "undefined" in the tables, no point in the scan figure.
  const nlohmann::json& b = j["bootstrap"];
  EXPECT_EQ(b["differential_undefined"], 8);
  EXPECT_EQ(b["differential_mpa_interval"], nullptr);
  for (const auto& row : j["scan"]["rows"]) EXPECT_EQ(row["differential_mpa"], nullptr);
  const std::string csv = slurp(dir.file("b.csv"));
  EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 9);
  for (std::size_t at = csv.find('\n') + 1; at < csv.size(); at = csv.find('\n', at) + 1) {
    EXPECT_EQ(csv.substr(csv.find('\n', at) - 1, 1), ",");
  }
  EXPECT_NE(run.out.find("Differential stress 95% interval: undefined"), std::string::npos);
  const std::string scan = slurp(dir.file("scan.svg"));
  EXPECT_EQ(scan.find("data-series=\"differential\""), std::string::npos);
  EXPECT_NE(scan.find("data-series=\"sigma1\""), std::string::npos);
  // No figure or table prints an infinite value or a number of the float range's end.
  const std::regex endless(R"(inf|nan|\d{16})");
  for (const std::string& text : {slurp(dir.file("s.svg")), slurp(dir.file("p.svg")), scan,
                                  run.out.substr(run.out.find("Twins counted"))}) {
    std::smatch m;
    EXPECT_FALSE(std::regex_search(text, m, endless)) << m.str();
  }
}

TEST(HonestOutputs, EveryCAxisRecordIsKept) {
  // 700 grains, only the first 100 with planes: 700 c-axis records, 200 planes.
  ScratchDir dir;
  fs::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  std::string data = "0       0    0    0 \n";
  for (int g = 1; g <= 700; ++g) {
    char line[64];
    std::snprintf(line, sizeof line, "%5d%5d%10d%5d     \n", (g * 37) % 360, (g * 13) % 90, 0,
                  g % 100 + 1);
    data += line;
    if (g <= 100) {
      std::snprintf(line, sizeof line, "%5d%5d%10d%5d    X\n", (g * 37 + 90) % 360, 60, 0,
                    g % 100 + 1);
      data += line;
      std::snprintf(line, sizeof line, "%5d%5d%10d%5d    N\n", (g * 37 + 200) % 360, 50, 0,
                    g % 100 + 1);
      data += line;
    }
  }
  data += "  999\n";
  test_support::put(dir.file("data.txt"), data);
  const Outcome run = term(dir, "params.txt data.txt report.txt --json r.json --grains g.svg");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  const nlohmann::json j = nlohmann::json::parse(slurp(dir.file("r.json")));
  EXPECT_EQ(j["planes"].size(), 200u);
  EXPECT_EQ(j["grains"].size(), 700u);
  EXPECT_EQ(j["counts"]["grains"], 700);
  const std::string svg = slurp(dir.file("g.svg"));
  std::size_t axes = 0;
  for (std::size_t at = svg.find("class=\"c_axis"); at != std::string::npos;
       at = svg.find("class=\"c_axis", at + 1)) {
    ++axes;
  }
  EXPECT_EQ(axes, 700u);
}

TEST(HonestOutputs, UsageMistakesAreFoundBeforeTheRun) {
  const struct {
    std::string args;
    const char* says;
  } cases[] = {
      {"--bootstrap-csv b.csv", "--bootstrap-csv needs --bootstrap"},
      {"--bootstrap 0 --bootstrap-csv b.csv", "--bootstrap-csv needs --bootstrap"},
      {"--scan-figure s.svg", "--scan-figure needs --scan-twin-percent"},
      {"--bootstrap 2 --scan-figure s.svg", "--scan-figure needs"},
      {"--json ''", "--json needs a file name"},
      {"--csv ''", "--csv needs a file name"},
      {"--stereonet ''", "--stereonet"},
      {"--bootstrap 2 --bootstrap-csv ''", "--bootstrap-csv needs a file name"},
      {"--bootstrap 2 --bootstrap-seed -1", "--bootstrap-seed"},
      {"--bootstrap 2 --bootstrap-seed 18446744073709551616", "--bootstrap-seed"},
      {"--bootstrap 2 --bootstrap-seed 0x10", "--bootstrap-seed"},
      {"--bootstrap 2 --bootstrap-seed ' 5'", "--bootstrap-seed"},
      {"--scan-twin-percent 70:100:31", "--scan-twin-percent"},
      {"--scan-twin-percent 1:100:2147483647", "--scan-twin-percent"},
      {"--json $'bad\\nname' --stereonet $'x\\r.txt'", "x\\r.txt"},
  };
  for (const auto& c : cases) {
    ScratchDir dir;
    fs::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
    fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
    // bash for the $'...' quoting of line ends.
    const std::string command = "cd '" + dir.file("") +
                                "' && bash -c \"'" GEMINO_TERM_PATH
                                "' params.txt data.txt report.txt " +
                                std::regex_replace(c.args, std::regex("\""), "\\\"") +
                                "\" < /dev/null > stdout.txt 2> stderr.txt";
    const int status = std::system(command.c_str());
    const std::string err = slurp(dir.file("stderr.txt"));
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 64) << c.args;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << c.args << ": " << err;
    EXPECT_NE(err.find(c.says), std::string::npos) << c.args << ": " << err;
    EXPECT_FALSE(fs::exists(dir.file("report.txt"))) << c.args;
  }
  // A seed at the top of the range is a seed.
  ScratchDir dir;
  fs::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  const Outcome top = term(dir,
                           "params.txt data.txt report.txt --bootstrap 2 --bootstrap-seed "
                           "18446744073709551615 --json r.json");
  ASSERT_EQ(top.exit_code, 0) << top.err;
  EXPECT_EQ(nlohmann::json::parse(slurp(dir.file("r.json")))["bootstrap"]["seed"],
            18446744073709551615ull);
}

// The width of a PNG, from its header.
uint32_t png_width(const std::string& png) {
  if (png.size() < 24) return 0;
  const auto b = [&](std::size_t k) { return static_cast<uint32_t>(static_cast<uint8_t>(png[k])); };
  return b(16) << 24 | b(17) << 16 | b(18) << 8 | b(19);
}

TEST(HonestOutputs, ScanFigureHonoursDpi) {
  ScratchDir dir;
  fs::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  const Outcome run = term(dir,
                           "params.txt data.txt report.txt --scan-twin-percent 90:100:10 "
                           "--scan-figure scan.png --stereonet s.png --dpi 36");
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(png_width(slurp(dir.file("scan.png"))), 270u);  // 540 points at half a pixel each
  EXPECT_EQ(png_width(slurp(dir.file("s.png"))), 270u);
}

}  // namespace
