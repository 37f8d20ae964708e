// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/state.h"

#include <cstring>
#include <type_traits>

namespace gemino {

static_assert(std::is_trivially_copyable_v<State>);

State& shared_state() {
  static State state{};
  return state;
}

void reset_state(State& s) {
  std::memset(&s, 0, sizeof s);
}

}  // namespace gemino
