#include "vozo_qt/environment.h"

namespace vozo_qt {

Environment& env() {
  static Environment instance;
  return instance;
}

void reset_environment() {
  env() = Environment{};
}

}  // namespace vozo_qt
