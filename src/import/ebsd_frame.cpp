// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/ebsd_frame.h"

#include <charconv>
#include <cmath>

#include "import/csv_table.h"

namespace data_import {

namespace {

// The structural cell of calcite, angstroms (4.99 and 17.06 to three figures): the e-plane
// poles lie 26.27 degrees from c.
constexpr double cell_a = 4.9896;
constexpr double cell_c = 17.061;

// Azimuths of the e-plane poles around c, degrees from a1 towards a2.
constexpr double e_pole_azimuths[3] = {210.0, 330.0, 90.0};

// The angle from a1 to the frame's x axis.
double x_from_a1(CrystalFrame frame) {
  return frame == CrystalFrame::x_along_a_star ? 30.0 : 0.0;
}

Vec times(const Matrix& m, const Vec& v) {
  return {dot(m[0], v), dot(m[1], v), dot(m[2], v)};
}

Vec transposed_times(const Matrix& m, const Vec& v) {
  Vec out{0.0, 0.0, 0.0};
  for (int i = 0; i < 3; ++i) {
    for (int k = 0; k < 3; ++k) out[static_cast<std::size_t>(k)] += m[i][k] * v[i];
  }
  return out;
}

}  // namespace

Matrix bunge_matrix(double phi1, double Phi, double phi2) {
  const double c1 = std::cos(radians(phi1)), s1 = std::sin(radians(phi1));
  const double C = std::cos(radians(Phi)), S = std::sin(radians(Phi));
  const double c2 = std::cos(radians(phi2)), s2 = std::sin(radians(phi2));
  return {Vec{c1 * c2 - s1 * s2 * C, s1 * c2 + c1 * s2 * C, s2 * S},
          Vec{-c1 * s2 - s1 * c2 * C, -s1 * s2 + c1 * c2 * C, c2 * S}, Vec{s1 * S, -c1 * S, C}};
}

double e_pole_c_angle() {
  // The pole of (h k l) = (-1 0 8): the basal part of its reciprocal vector is 2/(sqrt 3 a)
  // long, its part along c is 8/c.
  return degrees(std::atan((2.0 / (std::sqrt(3.0) * cell_a)) / (8.0 / cell_c)));
}

std::array<Vec, 3> e_poles_in_crystal(CrystalFrame frame) {
  const double theta = radians(e_pole_c_angle());
  std::array<Vec, 3> poles;
  for (std::size_t k = 0; k < 3; ++k) {
    const double alpha = radians(e_pole_azimuths[k] - x_from_a1(frame));
    poles[k] = {std::sin(theta) * std::cos(alpha), std::sin(theta) * std::sin(alpha),
                std::cos(theta)};
  }
  return poles;
}

CrystalDirections geographic_directions(const std::array<double, 3>& euler,
                                        EulerConvention convention, CrystalFrame frame,
                                        const std::array<double, 3>& specimen_to_geographic) {
  const Matrix g = bunge_matrix(euler[0], euler[1], euler[2]);
  const Matrix s =
      bunge_matrix(specimen_to_geographic[0], specimen_to_geographic[1], specimen_to_geographic[2]);
  auto to_geographic = [&](const Vec& crystal) {
    const Vec specimen = convention == EulerConvention::bunge_passive ? transposed_times(g, crystal)
                                                                      : times(g, crystal);
    return transposed_times(s, specimen);
  };
  CrystalDirections d;
  d.c_axis = to_geographic({0.0, 0.0, 1.0});
  const std::array<Vec, 3> poles = e_poles_in_crystal(frame);
  for (std::size_t k = 0; k < 3; ++k) d.e_poles[k] = to_geographic(poles[k]);
  return d;
}

std::optional<EulerConvention> euler_named(std::string_view text) {
  const std::string t = lower_case(text);
  if (t == "bunge-passive") return EulerConvention::bunge_passive;
  if (t == "bunge-active") return EulerConvention::bunge_active;
  return std::nullopt;
}

std::optional<CrystalFrame> crystal_frame_named(std::string_view text) {
  const std::string t = lower_case(text);
  if (t == "x=a") return CrystalFrame::x_along_a;
  if (t == "x=a*") return CrystalFrame::x_along_a_star;
  return std::nullopt;
}

std::optional<std::array<double, 3>> angles_named(std::string_view text) {
  std::array<double, 3> angles{};
  std::size_t at = 0;
  for (std::size_t k = 0; k < 3; ++k) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t' || text[at] == ',')) ++at;
    if (at < text.size() && text[at] == '+') ++at;
    const auto [end, error] =
        std::from_chars(text.data() + at, text.data() + text.size(), angles[k]);
    if (error != std::errc() || !std::isfinite(angles[k])) return std::nullopt;
    at = static_cast<std::size_t>(end - text.data());
  }
  while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
  if (at != text.size()) return std::nullopt;
  return angles;
}

}  // namespace data_import
