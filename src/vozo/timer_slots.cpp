// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/timer_slots.h"

namespace vozo {

bool TimerSlots::start(int32_t id, TimerCallback callback) {
  if (id == 0) return false;
  for (Slot& slot : slots_) {
    if (slot.id == id) {
      slot.callback = callback;
      return true;
    }
  }
  for (Slot& slot : slots_) {
    if (slot.id == 0) {
      slot = Slot{id, callback};
      ++count_;
      return true;
    }
  }
  return false;
}

void TimerSlots::stop(int32_t id) {
  if (id == 0) return;
  for (Slot& slot : slots_) {
    if (slot.id == id) {
      slot = Slot{};
      --count_;
    }
  }
}

void TimerSlots::fire(int32_t id) const {
  if (id == 0) return;
  for (const Slot& slot : slots_) {
    if (slot.id == id && slot.callback != nullptr) slot.callback();
  }
}

void TimerSlots::clear() {
  slots_.fill(Slot{});
  count_ = 0;
}

}  // namespace vozo
