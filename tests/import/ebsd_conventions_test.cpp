// SPDX-License-Identifier: GPL-3.0-or-later
// The EBSD conventions pinned by hand-checked grains: which way the Euler angles turn,
// where the crystal frame's x axis lies, which planes are the e-planes and in what order,
// and how the specimen stands in the geographic frame (east, north, up).
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>

#include "import/convert.h"
#include "import/ebsd_frame.h"

namespace {

using data_import::CrystalFrame;
using data_import::EulerConvention;
using data_import::Vec;

// sin and cos of the 26.27 degrees between an e-plane pole and c.
constexpr double s = 0.44257;
constexpr double c = 0.89673;

void expect_near(const Vec& got, const Vec& want, const std::string& what) {
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_NEAR(got[k], want[k], 1e-4) << what << " component " << k;
  }
}

struct Fixture {
  const char* name;
  std::array<double, 3> euler;
  EulerConvention convention;
  CrystalFrame frame;
  std::array<double, 3> specimen;
  Vec c_axis;
  std::array<Vec, 3> e_poles;
};

TEST(EbsdConventions, HandCheckedGrains) {
  const auto passive = EulerConvention::bunge_passive;
  const auto active = EulerConvention::bunge_active;
  const auto x_a = CrystalFrame::x_along_a;
  const auto x_a_star = CrystalFrame::x_along_a_star;
  const Fixture fixtures[] = {
      // c up; e1, e2, e3 at 210, 330 and 90 degrees from a1 = east, counterclockwise.
      {"identity, x=a",
       {0, 0, 0},
       passive,
       x_a,
       {0, 0, 0},
       {0, 0, 1},
       {Vec{-0.38328, -0.22128, c}, Vec{0.38328, -0.22128, c}, Vec{0, s, c}}},
      // x along a1*: a1 lies 30 degrees clockwise of east, every pole turns with it.
      {"identity, x=a*",
       {0, 0, 0},
       passive,
       x_a_star,
       {0, 0, 0},
       {0, 0, 1},
       {Vec{-s, 0, c}, Vec{0.22128, -0.38328, c}, Vec{0.22128, 0.38328, c}}},
      // Passive (90, 90, 0): the rows of g are the crystal axes, x = north, y = up, z = east.
      {"passive 90 90 0",
       {90, 90, 0},
       passive,
       x_a,
       {0, 0, 0},
       {1, 0, 0},
       {Vec{c, -0.38328, -0.22128}, Vec{c, 0.38328, -0.22128}, Vec{c, 0, s}}},
      // Active (90, 90, 0): its columns are, x = up, y = east, z = north.
      {"active 90 90 0",
       {90, 90, 0},
       active,
       x_a,
       {0, 0, 0},
       {0, 1, 0},
       {Vec{-0.22128, c, -0.38328}, Vec{-0.22128, c, 0.38328}, Vec{s, c, 0}}},
      // The specimen turned by 90 about up: its x points north, its y west.
      {"specimen 90 0 0",
       {0, 0, 0},
       passive,
       x_a,
       {90, 0, 0},
       {0, 0, 1},
       {Vec{0.22128, -0.38328, c}, Vec{0.22128, 0.38328, c}, Vec{-s, 0, c}}},
  };
  for (const Fixture& f : fixtures) {
    const data_import::CrystalDirections d =
        data_import::geographic_directions(f.euler, f.convention, f.frame, f.specimen);
    expect_near(d.c_axis, f.c_axis, std::string(f.name) + " c-axis");
    for (std::size_t k = 0; k < 3; ++k) {
      expect_near(d.e_poles[k], f.e_poles[k], std::string(f.name) + " e" + std::to_string(k + 1));
    }
  }
}

TEST(EbsdConventions, EPlanesLie26Point27DegreesFromC) {
  EXPECT_NEAR(data_import::e_pole_c_angle(), 26.27, 0.005);
}

// A product of rotations about fixed axes, counterclockwise seen from the axis's tip.
using M = std::array<Vec, 3>;
M about_z(double deg) {
  const double a = deg * 3.14159265358979323846 / 180.0;
  return {Vec{std::cos(a), -std::sin(a), 0}, Vec{std::sin(a), std::cos(a), 0}, Vec{0, 0, 1}};
}
M about_x(double deg) {
  const double a = deg * 3.14159265358979323846 / 180.0;
  return {Vec{1, 0, 0}, Vec{0, std::cos(a), -std::sin(a)}, Vec{0, std::sin(a), std::cos(a)}};
}
M product(const M& a, const M& b) {
  M out{};
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) {
      for (int k = 0; k < 3; ++k) out[i][j] += a[i][k] * b[k][j];
    }
  }
  return out;
}
Vec apply(const M& m, const Vec& v) {
  return {m[0][0] * v[0] + m[0][1] * v[1] + m[0][2] * v[2],
          m[1][0] * v[0] + m[1][1] * v[1] + m[1][2] * v[2],
          m[2][0] * v[0] + m[2][1] * v[1] + m[2][2] * v[2]};
}

// Passive Bunge angles turn the specimen axes onto the crystal's by phi1 about z, Phi
// about the new x, phi2 about the new z: crystal axis = Rz(phi1) Rx(Phi) Rz(phi2) applied
// to the specimen's. Active angles describe the inverse turn.
TEST(EbsdConventions, EulerAnglesTurnAsSuccessiveRotations) {
  const std::array<double, 3> angles[] = {{30, 40, 50}, {200, 120, 10}, {0, 90, 270}, {315, 5, 45}};
  for (const auto& e : angles) {
    const M turn = product(product(about_z(e[0]), about_x(e[1])), about_z(e[2]));
    const M inverse = product(product(about_z(-e[2]), about_x(-e[1])), about_z(-e[0]));
    const auto poles = data_import::e_poles_in_crystal(CrystalFrame::x_along_a);
    for (const auto& [convention, m] : {std::pair{EulerConvention::bunge_passive, turn},
                                        std::pair{EulerConvention::bunge_active, inverse}}) {
      const auto d =
          data_import::geographic_directions(e, convention, CrystalFrame::x_along_a, {0, 0, 0});
      const std::string what =
          std::to_string(e[0]) + " " + std::to_string(e[1]) + " " + std::to_string(e[2]) +
          (convention == EulerConvention::bunge_active ? " active" : " passive");
      expect_near(d.c_axis, apply(m, {0, 0, 1}), what + " c-axis");
      for (std::size_t k = 0; k < 3; ++k) expect_near(d.e_poles[k], apply(m, poles[k]), what);
    }
  }
}

// The identity grain through the whole conversion: c vertical, and the three poles 64
// degrees above the horizontal at 210, 330 and 90 degrees from east, in e1, e2, e3 order.
TEST(EbsdConventions, TheIdentityGrainsRecords) {
  const std::string csv =
      "# euler: bunge-passive\n# crystal_frame: x=a\n# specimen_to_geographic: 0 0 0\n"
      "grain,phi1,Phi,phi2,e1,e2,e3\n4,0,0,0,1,0,yes\n";
  const data_import::Outcome o = data_import::convert_text(csv, "in.csv", "out.txt", {});
  ASSERT_TRUE(o.ok()) << o.error;
  EXPECT_EQ(o.conversion->data.texts.at(0),
            "0       0    0    0\n"
            "  180   90         0    4\n"
            "  210   64         0    4    T\n"
            "  330   64         0    4    N\n"
            "   90   64         0    4    T\n"
            "  999\n");
}

}  // namespace
