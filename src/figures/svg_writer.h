// SPDX-License-Identifier: GPL-3.0-or-later
// The SVG of a figure, written by hand rather than through Cairo so that every element
// keeps the class and data attributes of its item. Text stays text (DejaVu Sans).
#pragma once

#include <string>

#include "figures/figure.h"

namespace figures {

std::string svg_document(const Figure& figure);

}  // namespace figures
