// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/program_menu.h"

#include <cstddef>

namespace vozo {

int32_t UserMenuTable::add(MenuCallback callback) {
  if (next_id_ >= first_user_menu_id + capacity) return 0;
  const int32_t id = next_id_++;
  callbacks_[static_cast<size_t>(id - first_user_menu_id)] = callback;
  return id;
}

bool UserMenuTable::dispatch(int32_t id, int32_t& checked) const {
  if (id < first_user_menu_id || id >= next_id_) return false;
  const MenuCallback callback = callbacks_[static_cast<size_t>(id - first_user_menu_id)];
  if (callback == nullptr) return false;
  callback(checked);
  return true;
}

}  // namespace vozo
