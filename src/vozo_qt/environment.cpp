// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo_qt/environment.h"

namespace vozo_qt {

Environment& env() {
  static Environment instance;
  return instance;
}

ConsoleWindow* console_of(int32_t unit_id) {
  const vozo::ConsoleState* state = env().units.lookup(unit_id);
  return state != nullptr ? env().consoles.value(state, nullptr) : nullptr;
}

void reset_environment() {
  env() = Environment{};
}

}  // namespace vozo_qt
