// SPDX-License-Identifier: GPL-3.0-or-later
#include "bootstrap/synthetic.h"

#include <cmath>
#include <memory>
#include <random>

#include "bootstrap/converged_reference.h"
#include "results/synthetic_grain.h"
#include "results/vector3.h"

namespace bootstrap {

namespace {

using namespace results::vector3;

double angle_to(const float (&axis)[3], const double (&truth)[3]) {
  const double a[3] = {axis[0], axis[1], axis[2]};
  return axis_angle_deg(a, truth);
}

}  // namespace

SyntheticSet make_synthetic(const SyntheticRecipe& recipe) {
  std::mt19937_64 gen(recipe.seed);
  SyntheticSet set{};
  const Vec s1 = random_unit(gen);
  const Vec s3 = unit(cross(s1, random_unit(gen)));
  const Vec s2 = cross(s3, s1);
  set.R = std::uniform_real_distribution<double>(0.2, 0.8)(gen);
  set.threshold = recipe.critical;
  for (int k = 0; k < 3; ++k) {
    set.sigma1[k] = s1[k];
    set.sigma3[k] = s3[k];
  }
  // The deviatoric tensor of principal values 1, R, 0 (compression positive): twinning
  // shear along the glide toward the c-axis is -n.S.g, as the objective takes it.
  auto shear = [&](const Vec& n, const Vec& g) {
    return -(1.0 * dot(n, s1) * dot(g, s1) + set.R * dot(n, s2) * dot(g, s2));
  };
  const double e_angle = 26.0 * M_PI / 180.0;
  const double noise = recipe.noise_deg * M_PI / 180.0;
  std::bernoulli_distribution flip(recipe.flipped_share);
  RunInput& in = set.input;
  int32_t labelled_twins = 0;
  int32_t genuine_twins = 0;
  for (int32_t grain = 1; grain <= recipe.grains; ++grain) {
    Vec c = random_unit(gen);
    if (c[2] < 0.0) c = combine(-1.0, c, 0.0, c);
    const Vec a = across(c);
    const Vec b = cross(c, a);
    const double turn0 = std::uniform_real_distribution<double>(0.0, 2.0 * M_PI)(gen);
    const Vec c_seen = jitter(c, noise, gen);
    for (int32_t p = 0; p < 3; ++p) {
      const double turn = turn0 + 2.0 * M_PI / 3.0 * p;
      const EPlane e = e_plane(c, a, b, turn, e_angle);
      const bool genuine = shear(e.pole, e.glide) > recipe.critical;
      const bool twinned = flip(gen) ? !genuine : genuine;
      labelled_twins += twinned ? 1 : 0;
      genuine_twins += twinned && genuine ? 1 : 0;
      // What is measured: both directions off by the noise.
      const Vec n_seen = jitter(e.pole, noise, gen);
      if (genuine && !twinned) set.hidden_twin_rows.push_back(static_cast<int32_t>(in.rows.size()));
      in.rows.push_back(measured_row(n_seen, c_seen, grain + 300 * p, twinned));
      in.row_grain.push_back(grain);
      in.row_record.push_back(grain - 1);
    }
  }
  if (labelled_twins > 0) {
    set.true_twin_share = static_cast<double>(genuine_twins) / static_cast<double>(labelled_twins);
  }
  in.trial_count = recipe.trial_count;
  in.iteration_limit = recipe.iteration_limit;
  in.twin_percent = recipe.twin_percent;
  in.seed = static_cast<int32_t>((recipe.seed * 2654435761u) & 0x3FFFFFFF) | 1;
  gemino::InversionOptions o;
  o.trial_count = in.trial_count;
  o.iteration_limit = in.iteration_limit;
  o.twin_percent = in.twin_percent;
  o.seed = in.seed;
  in.reference = tensor_result(gemino::invert(in.rows, o).final);
  return set;
}

std::array<float, 4> true_params(const SyntheticSet& set) {
  // The rotation of angles (a1, a2, a3) has the columns e1, e2, e3 with e3 = (sin a2 sin a3,
  // sin a2 cos a3, cos a2), e1.z = sin a1 sin a2 and e2.z = -cos a1 sin a2; the axes are
  // lines, so sigma2 = sigma3 x sigma1 makes the frame a rotation.
  const Vec e1 = {set.sigma1[0], set.sigma1[1], set.sigma1[2]};
  const Vec e3 = {set.sigma3[0], set.sigma3[1], set.sigma3[2]};
  const Vec e2 = cross(e3, e1);
  const double a2 = std::acos(std::fmax(-1.0, std::fmin(1.0, e3[2])));
  const double a3 = std::atan2(e3[0], e3[1]);
  const double a1 = std::atan2(e1[2], -e2[2]);
  return {static_cast<float>(a1), static_cast<float>(a2), static_cast<float>(a3),
          static_cast<float>(set.R)};
}

double true_differential_mpa(const SyntheticSet& set, double crss_mpa) {
  return crss_mpa / set.threshold;
}

SetCoverage measure_coverage(const SyntheticSet& set, const Options& options, bool widen_centre) {
  SetCoverage c;
  const float tolerance = gemino::ConvergedOptions{}.tolerance;
  // The centre chosen by the resamples' own rule.
  gemino::ConvergedOptions centre;
  centre.restarts_at_best = options.restarts_at_best;
  centre.widest_margin = widen_centre;
  const gemino::ConvergedResult search = search_full_data(set.input, centre);
  RunInput input = with_converged_reference(set.input, search, tolerance);
  if (widen_centre && search.status == gemino::InversionStatus::done) {
    // The tensor of widest margin fits the data no worse than the run's: it is the centre.
    input.reference = tensor_result(search.best);
  }
  c.centre_converged = input.reference_converged;
  c.answer_objective = search.best.objective_reported;
  {
    // The true tensor scored on the set's rows, with the set's share of twins counted.
    const auto state = std::make_unique<gemino::State>();
    gemino::InversionOptions load;
    load.trial_count = 1;
    load.iteration_limit = 1;
    load.twin_percent = input.twin_percent;
    load.seed = 1;
    gemino::invert(input.rows, load, *state);
    c.truth_objective = gemino::score_tensor(*state, true_params(set)).objective_reported;
  }
  const Summary s = run_bootstrap(input, options);
  c.cone_deg = s.cone95_deg;
  c.sigma1_error_deg = angle_to(input.reference.sigma1.vector, set.sigma1);
  c.sigma3_error_deg = angle_to(input.reference.sigma3.vector, set.sigma3);
  c.sigma1_holds = c.sigma1_error_deg <= s.cone95_deg[0];
  c.sigma3_holds = c.sigma3_error_deg <= s.cone95_deg[2];
  c.differential_defined = s.differential_mpa.has_value();
  if (s.differential_mpa) {
    const double truth = true_differential_mpa(set, input.crss_mpa);
    c.differential_holds = s.differential_mpa->low <= truth && truth <= s.differential_mpa->high;
    c.differential_width = (s.differential_mpa->high - s.differential_mpa->low) / truth;
  }
  return c;
}

Sigma1Cone sigma1_cone(const SyntheticSet& set, const Options& options) {
  const Summary s = run_bootstrap(set.input, options);
  const double reference[3] = {set.input.reference.sigma1.vector[0],
                               set.input.reference.sigma1.vector[1],
                               set.input.reference.sigma1.vector[2]};
  return {s.cone95_deg[0], axis_angle_deg(reference, set.sigma1) <= s.cone95_deg[0]};
}

}  // namespace bootstrap
