// SPDX-License-Identifier: GPL-3.0-or-later
// Geometry of one grain: the c-axis of a grain record, the normal of a twin plane, the
// glide direction in that plane, and the rotation of a block of records. Angles arrive
// as integer degrees from the data file and are converted with the reader's own
// constant 3.14159.
#pragma once

#include <cstdint>

namespace gemino {

// Degrees to radians as the data reader converts them: (degrees x 3.14159) / 180.
float data_radians(int32_t degrees);

// Rotates (x1, x2, x3) in place by the three angles of a block (radians): about the
// third axis by a1, then about the first by a2, then about the third by a3.
void rotate_vector(float& x1, float& x2, float& x3, const float& a1, const float& a2,
                   const float& a3);

// c = a x b.
void cross_product(const float& a1, const float& a2, const float& a3, const float& b1,
                   const float& b2, const float& b3, float& c1, float& c2, float& c3);

// The c-axis of a grain record. With a blank sense letter the axis is given by its
// azimuth and plunge; otherwise it lies in the plane of strike `direction` and dip
// `plunge` at `in_plane_angle` from the strike, the dip being toward the right-hand side
// when the sense letter is "D".
void c_axis_of_record(int32_t direction, int32_t plunge, char sense_letter, int32_t in_plane_angle,
                      float (&c_axis)[3]);

// Unit normal of a twin plane. A "D" plane has its normal on the other side: plunge
// 180 - plunge.
void plane_pole(int32_t direction, int32_t plunge, char sense_letter, float (&pole)[3]);

// The angle in degrees between the c-axis and a plane normal whose dot product is
// `cosine`; the cosine is clamped to [-1, 1] first, since rounding can carry it past 1.
float c_axis_angle(float cosine);

// The unit vector of the plane of normal `pole` along the projection of `c_axis` onto
// that plane. A c-axis along the normal has no projection: the glide is then (0, 0, 0).
void glide_toward(const float (&pole)[3], const float (&c_axis)[3], float (&glide)[3]);

}  // namespace gemino
