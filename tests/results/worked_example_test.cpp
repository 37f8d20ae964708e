// SPDX-License-Identifier: GPL-3.0-or-later
// The worked example of the results guide, from a real run of the terminal program on the
// bundled example: the differential stress 10 MPa / 0.1240, its bracket, the regime
// (strike slip of the second kind: sigma3 plunges 22 degrees) and SHmax along sigma1.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>

#include "support/scratch_dir.h"

namespace {

nlohmann::json run_example(const test_support::ScratchDir& dir, const std::string& crss) {
  namespace fs = std::filesystem;
  fs::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  const std::string command = "cd '" + dir.path() +
                              "' && '" GEMINO_TERM_PATH
                              "' params.txt data.txt report.txt --json result.json --crss " +
                              crss + " > console.txt 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  std::ifstream in(dir.file("result.json"));
  return nlohmann::json::parse(in);
}

std::string one_decimal(double v) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", v);
  return buffer;
}

TEST(WorkedExample, DifferentialStressBracketRegimeAndShmax) {
  test_support::ScratchDir dir("gemino-worked-");
  const nlohmann::json j = run_example(dir, "10");
  const nlohmann::json& result = j.at("result");
  const nlohmann::json& stress = j.at("stress");
  // The report's SEUIL= 0.1240 and the axes 040/10, 154/66, 306/22, R = 0.306.
  EXPECT_EQ(result.at("threshold").get<float>(), 0.12400905f);
  EXPECT_EQ(result.at("sigma1").at("trend").get<float>(), 40.370876f);
  EXPECT_NEAR(result.at("sigma1").at("plunge").get<double>(), 10.0, 0.5);
  EXPECT_NEAR(result.at("sigma3").at("plunge").get<double>(), 22.0, 0.5);

  // 10 / 0.1240 = 80.6 MPa, below 10 / 0.1223 = 81.8 MPa.
  EXPECT_EQ(stress.at("differential_mpa").get<double>(), 80.63927564493437);
  const nlohmann::json& range = stress.at("differential_range_mpa");
  EXPECT_EQ(range.at(0).get<double>(), 80.63927564493437);
  EXPECT_EQ(range.at(1).get<double>(), 81.76537739941612);
  EXPECT_EQ(one_decimal(range.at(0).get<double>()), "80.6");
  EXPECT_EQ(one_decimal(range.at(1).get<double>()), "81.8");
  EXPECT_EQ(one_decimal(stress.at("sigma2_minus_sigma3_mpa").get<double>()), "24.7");
  const nlohmann::json& s = stress.at("deviatoric_mpa");
  EXPECT_EQ(one_decimal(s.at(0).get<double>()), "45.5");
  EXPECT_EQ(one_decimal(s.at(1).get<double>()), "-10.4");
  EXPECT_EQ(one_decimal(s.at(2).get<double>()), "-35.1");
  // Strike slip with sigma1 flat and sigma3 at 22 degrees: SHmax is sigma1's own trend,
  // 040.4, not sigma3's + 90 (036.2).
  EXPECT_EQ(stress.at("regime").get<std::string>(), "SS");
  EXPECT_EQ(stress.at("shmax_azimuth").get<double>(), 40.37087631225586);
  EXPECT_EQ(one_decimal(stress.at("shmax_azimuth").get<double>()), "40.4");
  // The horizontal line of largest compression lies 1.2 degrees from sigma1's trend: sigma1
  // plunges 10 degrees and sigma3, at 22 degrees, adds to the horizontal compression across it.
  EXPECT_EQ(one_decimal(stress.at("shmax_horizontal_azimuth").get<double>()), "39.2");
}

TEST(WorkedExample, TwiceTheCrssDoublesTheMagnitudesOnly) {
  test_support::ScratchDir dir("gemino-worked-");
  const nlohmann::json j = run_example(dir, "20");
  const nlohmann::json& stress = j.at("stress");
  EXPECT_EQ(stress.at("differential_mpa").get<double>(), 2.0 * 80.63927564493437);
  EXPECT_EQ(stress.at("differential_range_mpa").at(1).get<double>(), 2.0 * 81.76537739941612);
  EXPECT_EQ(stress.at("regime").get<std::string>(), "SS");
  EXPECT_EQ(stress.at("shmax_azimuth").get<double>(), 40.37087631225586);
}

}  // namespace
