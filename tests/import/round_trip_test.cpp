// SPDX-License-Identifier: GPL-3.0-or-later
// The bundled example's data exported to both table forms (from the run's own poles,
// glides and c-axes), converted back and inverted: every direction comes back within the
// rounding the conversion reports, and the tensor is the example's.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "cli/term_run.h"
#include "import/directions.h"
#include "import/ebsd_frame.h"

namespace {

using data_import::Vec;
using nlohmann::json;
namespace di = data_import;

Vec vec(const json& v) {
  return di::unit({v[0].get<double>(), v[1].get<double>(), v[2].get<double>()});
}

std::string fixed(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.6f", v);
  return buf;
}

std::string trend_plunge(const Vec& v) {
  const di::TrendPlunge tp = di::trend_plunge(v);
  return fixed(tp.trend) + "," + fixed(tp.plunge);
}

// The glide the reader derives: c turned to the pole's side, projected on the plane.
Vec glide_of(const Vec& pole, const Vec& c_axis) {
  const Vec c = di::dot(c_axis, pole) < 0.0 ? di::negated(c_axis) : c_axis;
  const double along = di::dot(c, pole);
  return di::unit({c[0] - along * pole[0], c[1] - along * pole[1], c[2] - along * pole[2]});
}

struct Rounding {
  double c_axis = -1, pole = -1, glide = -1;
};

Rounding rounding_in(const std::string& summary) {
  const std::regex line(
      "rounding to whole degrees: c-axis ([0-9.]+), pole ([0-9.]+), glide ([0-9.]+) degrees");
  std::smatch m;
  if (!std::regex_search(summary, m, line)) return {};
  return {std::stod(m[1]), std::stod(m[2]), std::stod(m[3])};
}

// One input direction set: per plane its pole, c-axis and twin flag, in the table's order.
struct Expected {
  std::vector<Vec> poles, c_axes;
  std::vector<bool> twinned;
  std::vector<Vec> grain_c_axes;  // in the table's order
};

// The summary gives the rounding to two decimals: a change may pass it by half of the last
// digit, and the JSON's floats by their last digits.
constexpr double slack = 0.005 + 1e-3;

class RoundTrip : public testing::Test {
 protected:
  void SetUp() override {
    cli_test::copy_example(dir.path());
    const cli_test::Outcome run =
        cli_test::term(dir, "params.txt data.txt report.txt --json a.json");
    ASSERT_EQ(run.exit_code, 0) << run.err;
    original = json::parse(gemino_test::slurp(dir.file("a.json")));
  }

  // Converts `table` (written to NAME.csv) and runs the result; returns the run's JSON.
  json convert_and_run(const std::string& name, const std::string& table, Rounding& rounding) {
    test_support::put(dir.file(name + ".csv"), table);
    const cli_test::Outcome c = cli_test::term(dir, "convert " + name + ".csv " + name + ".txt");
    EXPECT_EQ(c.exit_code, 0) << c.err;
    rounding = rounding_in(c.out);
    EXPECT_GE(rounding.pole, 0.0) << c.out;
    // A glide turns with the c-axis and the pole it is made of, by about twice as much.
    EXPECT_LT(rounding.glide, 2.0) << c.out;
    const cli_test::Outcome run = cli_test::term(
        dir, "params.txt " + name + ".txt " + name + "-report.txt --json " + name + ".json");
    EXPECT_EQ(run.exit_code, 0) << run.err;
    return json::parse(gemino_test::slurp(dir.file(name + ".json")));
  }

  // Every plane's pole, glide and c-axis within the reported rounding (and the last digits
  // of the printed floats); the same twinned planes.
  void expect_directions(const json& run, const Expected& want, const Rounding& r) {
    const json& planes = run["planes"];
    ASSERT_EQ(planes.size(), want.poles.size());
    for (std::size_t i = 0; i < planes.size(); ++i) {
      const Vec pole = vec(planes[i]["pole"]["vector"]);
      const Vec glide = vec(planes[i]["glide"]["vector"]);
      EXPECT_LE(di::angle_between_lines(pole, want.poles[i]), r.pole + slack) << "plane " << i;
      const Vec side =
          di::dot(want.poles[i], pole) < 0.0 ? di::negated(want.poles[i]) : want.poles[i];
      EXPECT_LE(di::angle_between(glide, glide_of(side, want.c_axes[i])), r.glide + slack)
          << "plane " << i;
      EXPECT_EQ(planes[i]["twinned"].get<bool>(), want.twinned[i]) << "plane " << i;
    }
    const json& grains = run["grains"];
    ASSERT_EQ(grains.size(), want.grain_c_axes.size());
    for (std::size_t g = 0; g < grains.size(); ++g) {
      EXPECT_LE(di::angle_between_lines(vec(grains[g]["c_axis"]["vector"]), want.grain_c_axes[g]),
                r.c_axis + slack)
          << "grain " << g;
    }
  }

  // The same principal axes and ratio as the example's run.
  void expect_tensor(const json& run, double axes_degrees, double ratio) {
    for (const char* axis : {"sigma1", "sigma2", "sigma3"}) {
      const double angle = di::angle_between_lines(vec(run["result"][axis]["vector"]),
                                                   vec(original["result"][axis]["vector"]));
      EXPECT_LE(angle, axes_degrees) << axis;
    }
    EXPECT_NEAR(run["result"]["R"].get<double>(), original["result"]["R"].get<double>(), ratio);
  }

  // The c-axis of every grain of the example, by block and number.
  std::map<std::pair<int, int>, Vec> c_axes() const {
    std::map<std::pair<int, int>, Vec> out;
    for (const json& g : original["grains"]) {
      out[{g["block"].get<int>(), g["number"].get<int>()}] = vec(g["c_axis"]["vector"]);
    }
    return out;
  }

  gemino_test::ScratchDir dir;
  json original;
};

TEST_F(RoundTrip, PlaneTable) {
  const auto c = c_axes();
  std::string table = "grain,c_trend,c_plunge,pole_trend,pole_plunge,twinned,block\n";
  Expected want;
  for (const json& p : original["planes"]) {
    const int block = p["block"].get<int>();
    const int number = p["grain"].get<int>();
    const Vec pole = vec(p["pole"]["vector"]);
    const Vec& axis = c.at({block, number});
    const bool twinned = p["twinned"].get<bool>();
    table += std::to_string(number - 100 * (block - 1)) + "," + trend_plunge(axis) + "," +
             trend_plunge(pole) + "," + (twinned ? "1" : "0") + "," + std::to_string(block) + "\n";
    if (want.c_axes.empty() || want.c_axes.back() != axis) want.grain_c_axes.push_back(axis);
    want.poles.push_back(pole);
    want.c_axes.push_back(axis);
    want.twinned.push_back(twinned);
  }
  Rounding r;
  const json run = convert_and_run("planes", table, r);
  expect_directions(run, want, r);
  // Each grain's whole degrees are chosen so that none of its directions moves by much
  // more than a degree, the glides included (the nearest degrees would move some glides
  // by two).
  EXPECT_LT(std::fmax(r.c_axis, std::fmax(r.pole, r.glide)), 1.1);
  expect_tensor(run, 3.0, 0.03);
  // The grains keep their blocks and numbers, so the planes keep their data numbers.
  for (std::size_t i = 0; i < run["planes"].size(); ++i) {
    EXPECT_EQ(run["planes"][i]["number"], original["planes"][i]["number"]);
  }
}

TEST_F(RoundTrip, EbsdGrainTable) {
  // Each grain's crystal frame fitted to its c-axis and three planes: a1 turned about c so
  // that the e-plane poles (210, 330 and 90 degrees from a1) fall nearest the planes.
  const double theta = di::radians(di::e_pole_c_angle());
  const double e_azimuths[3] = {210.0, 330.0, 90.0};
  const std::array<double, 3> specimen = {30.0, 20.0, 10.0};
  const di::Matrix s = di::bunge_matrix(specimen[0], specimen[1], specimen[2]);
  std::string table =
      "# euler: bunge-passive\n# crystal_frame: x=a\n# specimen_to_geographic: 30 20 10\n"
      "grain,phi1,Phi,phi2,e1,e2,e3\n";
  Expected want;
  const auto c_by_grain = c_axes();
  for (const auto& [key, axis] : c_by_grain) {
    std::vector<std::pair<Vec, bool>> planes;
    for (const json& p : original["planes"]) {
      if (p["block"].get<int>() == key.first && p["grain"].get<int>() == key.second) {
        planes.emplace_back(vec(p["pole"]["vector"]), p["twinned"].get<bool>());
      }
    }
    ASSERT_EQ(planes.size(), 3u);
    const Vec c = axis[2] < 0.0 ? di::negated(axis) : axis;
    const Vec u = di::unit(di::cross(c, std::abs(c[2]) < 0.9 ? Vec{0, 0, 1} : Vec{1, 0, 0}));
    const Vec v = di::cross(c, u);
    double sx = 0.0, sy = 0.0;
    for (const auto& [pole, twinned] : planes) {
      const Vec n = di::dot(pole, c) < 0.0 ? di::negated(pole) : pole;
      const double three_psi = 3.0 * std::atan2(di::dot(n, v), di::dot(n, u)) - di::radians(270.0);
      sx += std::cos(three_psi);
      sy += std::sin(three_psi);
    }
    const double psi = std::atan2(sy, sx) / 3.0;
    want.grain_c_axes.push_back(c);
    const Vec x = di::unit({std::cos(psi) * u[0] + std::sin(psi) * v[0],
                            std::cos(psi) * u[1] + std::sin(psi) * v[1],
                            std::cos(psi) * u[2] + std::sin(psi) * v[2]});
    const Vec y = di::cross(c, x);
    // Crystal axes in specimen coordinates are the rows of the passive matrix g.
    auto in_specimen = [&](const Vec& g) {
      return Vec{di::dot(s[0], g), di::dot(s[1], g), di::dot(s[2], g)};
    };
    const Vec gx = in_specimen(x), gy = in_specimen(y), gz = in_specimen(c);
    const double Phi = di::degrees(std::acos(std::clamp(gz[2], -1.0, 1.0)));
    double phi1 = di::degrees(std::atan2(gz[0], -gz[1]));
    double phi2 = di::degrees(std::atan2(gx[2], gy[2]));
    if (phi1 < 0.0) phi1 += 360.0;
    if (phi2 < 0.0) phi2 += 360.0;
    table += std::to_string(key.first * 100 + key.second) + "," + fixed(phi1) + "," + fixed(Phi) +
             "," + fixed(phi2);
    for (double a : e_azimuths) {
      const double alpha = psi + di::radians(a);
      const Vec e = {std::sin(theta) * (std::cos(alpha) * u[0] + std::sin(alpha) * v[0]) +
                         std::cos(theta) * c[0],
                     std::sin(theta) * (std::cos(alpha) * u[1] + std::sin(alpha) * v[1]) +
                         std::cos(theta) * c[1],
                     std::sin(theta) * (std::cos(alpha) * u[2] + std::sin(alpha) * v[2]) +
                         std::cos(theta) * c[2]};
      // The plane of the example this e-plane stands for.
      std::size_t nearest = 0;
      for (std::size_t k = 1; k < 3; ++k) {
        if (di::angle_between_lines(planes[k].first, e) <
            di::angle_between_lines(planes[nearest].first, e)) {
          nearest = k;
        }
      }
      EXPECT_LT(di::angle_between_lines(planes[nearest].first, e), 2.0);
      table += planes[nearest].second ? ",1" : ",0";
      want.poles.push_back(e);
      want.c_axes.push_back(c);
      want.twinned.push_back(planes[nearest].second);
    }
    table += "\n";
  }
  Rounding r;
  const json run = convert_and_run("grains", table, r);
  expect_directions(run, want, r);
  // The e-planes lie 26.27 degrees from c where the example's lie 26: the tensor moves a little.
  expect_tensor(run, 3.0, 0.05);
}

}  // namespace
