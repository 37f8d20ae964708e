// SPDX-License-Identifier: GPL-3.0-or-later
// Which mark of a figure lies under a point, and what it stands for in words: the planes'
// poles and points, the principal axes and the grains' c-axes, as a window names them
// when the pointer rests on one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "figures/figure.h"
#include "results/result_model.h"

namespace figures {

struct Mark {
  enum class Kind { plane, axis, grain };
  Kind kind = Kind::plane;
  int32_t number = 0;  // the plane's or grain's number; 1, 2 or 3 for σ1, σ2, σ3
  bool operator==(const Mark&) const = default;
};

// The mark nearest to `at` (points from the figure's top left corner) whose drawing comes
// within `reach` of it; a point inside a symbol is at no distance. Among marks equally near,
// the one drawn last, which shows on top.
std::optional<Mark> mark_at(const Figure& figure, Point at, double reach);

// The mark in words, from the run's result: "Plane 12: twinned, τ above SEUIL" and its
// pole and TAU on a second line; "σ1 040/10"; "Grain 3: c-axis 123/45". Empty for a number
// the result does not hold.
std::string mark_text(const Mark& mark, const results::Result& r);

}  // namespace figures
