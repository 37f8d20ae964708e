// SPDX-License-Identifier: GPL-3.0-or-later
// Small vector arithmetic in double for directions drawn at random: the synthetic data sets
// are made with it (their truth is exact to double precision, unlike the inversion's floats).
#pragma once

#include <array>
#include <cmath>
#include <numbers>
#include <random>

namespace results::vector3 {

using Vec = std::array<double, 3>;

inline Vec unit(const Vec& v) {
  const double n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  return {v[0] / n, v[1] / n, v[2] / n};
}

inline double dot(const Vec& a, const Vec& b) {
  return a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
}

inline Vec cross(const Vec& a, const Vec& b) {
  return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// a·u + b·v.
inline Vec combine(double a, const Vec& u, double b, const Vec& v) {
  return {a * u[0] + b * v[0], a * u[1] + b * v[1], a * u[2] + b * v[2]};
}

// A direction uniform on the sphere.
inline Vec random_unit(std::mt19937_64& gen) {
  std::normal_distribution<double> g(0.0, 1.0);
  return unit({g(gen), g(gen), g(gen)});
}

// Any unit vector perpendicular to v.
inline Vec across(const Vec& v) {
  const Vec t = std::fabs(v[2]) < 0.9 ? Vec{0.0, 0.0, 1.0} : Vec{1.0, 0.0, 0.0};
  return unit(cross(v, t));
}

// v turned by a normal angle of spread sigma (radians) toward a random side.
inline Vec jitter(const Vec& v, double sigma, std::mt19937_64& gen) {
  if (!(sigma > 0.0)) return v;
  const Vec a = across(v);
  const Vec b = cross(v, a);
  const double side = std::uniform_real_distribution<double>(0.0, 2.0 * std::numbers::pi)(gen);
  const double angle = std::normal_distribution<double>(0.0, sigma)(gen);
  const Vec w = combine(std::cos(side), a, std::sin(side), b);
  return unit(combine(std::cos(angle), v, std::sin(angle), w));
}

}  // namespace results::vector3
