// SPDX-License-Identifier: GPL-3.0-or-later
// The trial stress tensor: rotation of the principal axes, the stresses resolved on one
// twin plane, and the principal axes as direction and plunge for the report.
#pragma once

#include <cstdint>

#include "gemino/state.h"

namespace gemino {

// Fills s.rotation_matrix with the z-x-z rotation for the angles (a1, a2, a3), radians:
// a1 about the third axis, a2 about the rotated first axis, a3 about the new third axis.
// Column J is principal axis J.
void euler_matrix(State& s, float a1, float a2, float a3);

// Components of the data-frame vector v along the three principal axes of
// s.rotation_matrix: c[J] = (v1 ROT(1,J) + v2 ROT(2,J)) + v3 ROT(3,J).
void principal_components(const State& s, const float (&v)[3], float (&c)[3]);

// Resolved shear stress on a plane with principal-frame pole a and glide b, for the
// stress ratio r; larger values favour twinning.
float resolved_shear(float r, const float (&a)[3], const float (&b)[3]);

// Normal stress on a plane with principal-frame pole a, for principal values 1, r, 0.
float normal_stress(float r, const float (&a)[3]);

// Fills s.axis_matrix for the search parameters x: row J is principal axis J, turned so
// that its third component is not positive. Overwrites s.rotation_matrix.
void fill_axis_matrix(State& s, const float (&x)[4]);

// Direction (0..360, clockwise from the second data axis) and plunge (0..90) in degrees
// of row j (0-based) of s.axis_matrix. A vertical axis has direction 0.
void axis_direction_plunge(const State& s, int32_t j, float& direction, float& plunge);

}  // namespace gemino
