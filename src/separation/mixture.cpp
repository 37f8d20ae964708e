// SPDX-License-Identifier: GPL-3.0-or-later
#include "separation/mixture.h"

#include <array>
#include <cmath>
#include <numbers>
#include <random>

#include "results/synthetic_grain.h"
#include "results/vector3.h"

namespace separation {

namespace {

using namespace results::vector3;

constexpr double pi = std::numbers::pi;

TrueTensor tensor_of(const Vec& s1, const Vec& s3, double r) {
  TrueTensor t{};
  const Vec s2 = cross(s3, s1);
  for (std::size_t k = 0; k < 3; ++k) {
    t.sigma1[k] = s1[k];
    t.sigma2[k] = s2[k];
    t.sigma3[k] = s3[k];
  }
  t.R = r;
  return t;
}

// The twinning shear along the glide g (toward the c-axis) on the plane of pole n, for
// principal values 1, R, 0 (compression positive), as the objective takes it.
double shear(const TrueTensor& t, const Vec& n, const Vec& g) {
  const Vec s1{t.sigma1[0], t.sigma1[1], t.sigma1[2]};
  const Vec s2{t.sigma2[0], t.sigma2[1], t.sigma2[2]};
  return -(dot(n, s1) * dot(g, s1) + t.R * dot(n, s2) * dot(g, s2));
}

}  // namespace

double axis_angle_deg(const double (&a)[3], const float (&b)[3]) {
  double d = 0.0;
  double bb = 0.0;
  for (int k = 0; k < 3; ++k) {
    d += a[k] * static_cast<double>(b[k]);
    bb += static_cast<double>(b[k]) * static_cast<double>(b[k]);
  }
  const double c = std::fabs(d) / std::sqrt(bb);
  return std::acos(c < 1.0 ? c : 1.0) * 180.0 / pi;
}

Mixture make_mixture(const MixtureRecipe& recipe) {
  std::mt19937_64 gen(recipe.seed);
  Mixture m;
  const Vec a = random_unit(gen);
  const Vec c = unit(cross(a, random_unit(gen)));
  std::uniform_real_distribution<double> ordinary(0.2, 0.8);
  switch (recipe.kind) {
    case MixtureKind::single:
      m.tensors.push_back(tensor_of(a, c, ordinary(gen)));
      break;
    case MixtureKind::exchanged:
      m.tensors.push_back(tensor_of(a, c, ordinary(gen)));
      m.tensors.push_back(tensor_of(c, a, ordinary(gen)));
      break;
    case MixtureKind::shared_sigma3: {
      const double oblate = std::uniform_real_distribution<double>(0.75, 0.9)(gen);
      m.tensors.push_back(tensor_of(a, c, oblate));
      m.tensors.push_back(tensor_of(cross(c, a), c, ordinary(gen)));
      break;
    }
  }
  const double e_angle = 26.0 * pi / 180.0;
  const double noise = recipe.noise_deg * pi / 180.0;
  std::bernoulli_distribution flip(recipe.flipped_share);
  for (int32_t grain = 1; grain <= recipe.grains; ++grain) {
    Vec axis = random_unit(gen);
    if (axis[2] < 0.0) axis = combine(-1.0, axis, 0.0, axis);
    const Vec u = across(axis);
    const Vec v = cross(axis, u);
    const double turn0 = std::uniform_real_distribution<double>(0.0, 2.0 * pi)(gen);
    const Vec axis_seen = jitter(axis, noise, gen);
    for (int32_t p = 0; p < 3; ++p) {
      const double turn = turn0 + 2.0 * pi / 3.0 * p;
      const EPlane e = e_plane(axis, u, v, turn, e_angle);
      bool twinned = false;
      for (const TrueTensor& t : m.tensors) {
        twinned = twinned || shear(t, e.pole, e.glide) > recipe.critical;
      }
      if (flip(gen)) twinned = !twinned;
      const Vec n_seen = jitter(e.pole, noise, gen);
      m.rows.push_back(measured_row(n_seen, axis_seen, grain + 300 * p, twinned));
    }
  }
  return m;
}

}  // namespace separation
