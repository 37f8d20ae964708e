// SPDX-License-Identifier: GPL-3.0-or-later
// Stress magnitudes from a result. The trial tensor is trace-free with sigma1 - sigma3 = 1,
// so TAU is in units of the differential stress, and a plane twins when
// differential stress x TAU reaches the critical resolved shear stress (CRSS) of twinning.
// The threshold of the optimised tensor (SEUIL) thus gives the differential stress, and
// the untwinned planes ranked below it an upper bound. The stress regime and the azimuth of
// the largest horizontal stress (SHmax) follow from the plunges of the principal axes, in
// whole degrees as the report prints them; SHmax is also given as the horizontal line of
// largest compression of the tensor itself.
#pragma once

#include <string_view>

#include "results/result_model.h"

namespace results {

inline constexpr double default_crss_mpa = 10.0;

// Normal faulting, normal with strike slip, strike slip, thrust with strike slip, thrust
// faulting, and unknown (no class of the table fits the plunges).
enum class Regime { NF, NS, SS, TS, TF, U };
std::string_view regime_name(Regime regime);

struct StressMagnitudes {
  double crss_mpa = default_crss_mpa;
  // Defined when SEUIL > 0: differential = CRSS / SEUIL, and the values below follow.
  bool defined = false;
  double differential_mpa = 0.0;  // sigma1 - sigma3
  // The bracket low <= differential < high; no upper end when no untwinned plane is ranked
  // below the threshold or the largest TAU among them is not positive.
  double differential_low_mpa = 0.0;
  bool has_upper = false;
  double differential_high_mpa = 0.0;
  double largest_untwinned_tau = 0.0;  // among the untwinned planes ranked below the threshold
  bool has_untwinned_below = false;
  double sigma2_minus_sigma3_mpa = 0.0;  // R x differential
  // Deviatoric principal values s1 >= s2 >= s3 (compression positive), and the deviatoric
  // tensor in the data frame (east, north, up).
  double deviatoric_mpa[3] = {0.0, 0.0, 0.0};
  double deviatoric_tensor_mpa[3][3] = {{0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}, {0.0, 0.0, 0.0}};
  Regime regime = Regime::U;
  double shmax_azimuth = 0.0;  // degrees in [0, 180), by the regime table
  // The azimuth of the largest horizontal compression of the tensor, degrees in [0, 180).
  // It may differ from the table's value: for normal faulting with a small R, by tens of degrees.
  double shmax_horizontal_azimuth = 0.0;
};

// The magnitudes of the optimised tensor of r for a CRSS in MPa.
StressMagnitudes stress_magnitudes(const Result& r, double crss_mpa = default_crss_mpa);

// The regime and SHmax of a tensor alone. The regime is judged on the plunges as the
// report's PENDAGE field shows them; SHmax is an unrounded trend.
Regime regime_of(const TensorResult& t);
double shmax_azimuth(const TensorResult& t, Regime regime);

// The azimuth in [0, 180) of the eigenvector with the larger compression of the horizontal
// (east, north) part of the deviatoric tensor: the horizontal line of largest normal stress.
double shmax_horizontal_azimuth(const TensorResult& t);

}  // namespace results
