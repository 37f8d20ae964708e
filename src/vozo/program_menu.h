// SPDX-License-Identifier: GPL-3.0-or-later
// The menu items a program adds to the frame at run time, each with its callback.
#pragma once

#include <array>
#include <cstdint>

#include "vozo/menu_ids.h"

namespace vozo {

// The callback receives the item's checked state (1 or 0).
using MenuCallback = void (*)(int32_t& checked);
class UserMenuTable {
 public:
  static constexpr int32_t capacity = 500;  // ids 800 .. 1299

  // Takes the next id for callback; 0 when every id is taken.
  int32_t add(MenuCallback callback);
  int32_t next_id() const { return next_id_; }
  // Calls the callback of id with the item's checked state; false when id has none.
  bool dispatch(int32_t id, int32_t& checked) const;

 private:
  std::array<MenuCallback, capacity> callbacks_{};
  int32_t next_id_ = first_user_menu_id;
};

}  // namespace vozo
