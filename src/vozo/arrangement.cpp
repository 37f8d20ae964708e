// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/arrangement.h"

#include <algorithm>

namespace vozo {

ChildRect cascade_rect(int32_t index, int32_t client_width, int32_t client_height, int32_t step) {
  const int32_t steps = step > 0 ? client_height / (3 * step) : 0;
  const int32_t span = step * steps;
  const int32_t offset = step * (index % (steps + 1));
  return ChildRect{offset, offset, std::max(1, client_width - span),
                   std::max(1, client_height - span)};
}

}  // namespace vozo
