// SPDX-License-Identifier: GPL-3.0-or-later
// The crystal directions of one EBSD grain in the geographic frame: its c-axis and the
// poles of its three e-planes, from Bunge Euler angles under declared conventions.
//
// g(phi1, Phi, phi2) is the Bunge matrix, rows
//   ( c1 c2 - s1 s2 C,   s1 c2 + c1 s2 C,   s2 S)
//   (-c1 s2 - s1 c2 C,  -s1 s2 + c1 c2 C,   c2 S)
//   ( s1 S,             -c1 S,              C   )
// (c1 = cos phi1, S = sin Phi, ...). Passive angles: g takes specimen coordinates to
// crystal ones (row i is crystal axis i in the specimen). Active angles: g takes crystal
// coordinates to specimen ones (column i is crystal axis i in the specimen).
//
// The Cartesian crystal frame has z along c and y = z x x; x lies along a1 or along a1*,
// which is 30 degrees from a1 towards a2 (a2 at 120 degrees from a1).
//
// The e-planes are the {-1018} planes of the structural cell (a = 4.9896, c = 17.061):
// poles 26.27 degrees from c on its side, at 210 (e1 = (-1 0 1 8)), 330 (e2 = (1 -1 0 8))
// and 90 degrees (e3 = (0 1 -1 8)) from a1 counted towards a2.
//
// The specimen frame stands in the geographic frame (east, north, up) as given by three
// Bunge angles: row i of g(psi1, Psi, psi2) is specimen axis i in geographic coordinates.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "import/directions.h"

namespace data_import {

enum class EulerConvention { bunge_passive, bunge_active };
enum class CrystalFrame { x_along_a, x_along_a_star };

using Matrix = std::array<Vec, 3>;  // rows

Matrix bunge_matrix(double phi1, double Phi, double phi2);

// Unit poles of e1, e2, e3 in the Cartesian crystal frame, on the +c side.
std::array<Vec, 3> e_poles_in_crystal(CrystalFrame frame);

// The angle between an e-plane pole and c, degrees.
double e_pole_c_angle();

struct CrystalDirections {
  Vec c_axis;
  std::array<Vec, 3> e_poles;
};

// Euler angles and specimen angles in degrees.
CrystalDirections geographic_directions(const std::array<double, 3>& euler,
                                        EulerConvention convention, CrystalFrame frame,
                                        const std::array<double, 3>& specimen_to_geographic);

// The declared conventions, from their written values; nullopt for a value not known.
std::optional<EulerConvention> euler_named(std::string_view text);
std::optional<CrystalFrame> crystal_frame_named(std::string_view text);
// Three numbers separated by blanks or commas.
std::optional<std::array<double, 3>> angles_named(std::string_view text);

}  // namespace data_import
