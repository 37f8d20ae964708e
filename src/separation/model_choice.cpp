// SPDX-License-Identifier: GPL-3.0-or-later
#include "separation/model_choice.h"

#include <cmath>

namespace separation {

double log_likelihood(int32_t unexplained, int32_t planes) {
  if (planes <= 0 || unexplained <= 0 || unexplained >= planes) return 0.0;
  const double e = unexplained;
  const double n = planes;
  const double eps = e / n;
  return e * std::log(eps) + (n - e) * std::log(1.0 - eps);
}

double bic(int32_t unexplained, int32_t planes, int32_t tensors) {
  const double n = planes > 0 ? planes : 1;
  return -2.0 * log_likelihood(unexplained, planes) + 5.0 * tensors * std::log(n);
}

bool keep_further_tensor(double before, double after, int32_t new_explained, int32_t twinned) {
  const bool drop = before - after > bic_drop_needed;
  const bool share = static_cast<int64_t>(new_explained) * 100 >=
                     static_cast<int64_t>(share_needed_percent) * twinned;
  return drop && share && new_explained > 0;
}

bool may_be_permutation(double sigma3_angle_deg, float r_a, float r_b) {
  return sigma3_angle_deg <= shared_sigma3_deg && (r_a > oblate_r || r_b > oblate_r);
}

}  // namespace separation
