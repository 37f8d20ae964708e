// SPDX-License-Identifier: GPL-3.0-or-later
// How many tensors the data hold: a penalised count of the planes left unexplained, and the
// warning that two tensors sharing sigma3 may be one oblate tensor.
//
// With e planes unexplained of N and eps = e / N, the fit of K tensors is
//   log L = e ln(eps) + (N - e) ln(1 - eps)      (0 ln 0 taken as 0)
//   BIC   = -2 log L + 5 K ln N                  (five numbers per tensor: three angles, R, SEUIL)
// A further tensor is kept only when the BIC drops by more than 10 and the twinned planes
// the new tensor explains and no earlier tensor does make at least 15 % of all twinned
// planes.
#pragma once

#include <cstdint>

namespace separation {

inline constexpr double bic_drop_needed = 10.0;      // strictly more than this
inline constexpr int32_t share_needed_percent = 15;  // at least this
inline constexpr double shared_sigma3_deg = 20.0;    // at most this
inline constexpr float oblate_r = 0.7f;              // strictly more than this

double log_likelihood(int32_t unexplained, int32_t planes);

double bic(int32_t unexplained, int32_t planes, int32_t tensors);

// Whether a further tensor is kept: the BIC falls from `before` to `after` by more than 10,
// and the twinned planes the tensor explains and no earlier one does (`new_explained`) make
// at least 15 % of all `twinned` planes.
bool keep_further_tensor(double before, double after, int32_t new_explained, int32_t twinned);

// Whether two tensors whose sigma3 axes lie `sigma3_angle_deg` apart, of ratios r_a and
// r_b, may be one oblate tensor (a permutation of sigma1 and sigma2) rather than two
// events: the axes within 20 degrees, and one R above 0.7.
bool may_be_permutation(double sigma3_angle_deg, float r_a, float r_b);

}  // namespace separation
