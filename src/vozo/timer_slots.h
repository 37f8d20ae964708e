// SPDX-License-Identifier: GPL-3.0-or-later
// The program's timers: up to 100 ids, each with the callback its ticks call.
#pragma once

#include <array>
#include <cstdint>

namespace vozo {

using TimerCallback = void (*)();
class TimerSlots {
 public:
  static constexpr int32_t capacity = 100;

  // Takes the first free slot for timer id (nonzero); a running id keeps its slot and
  // gets the new callback. False when every slot is taken or id is 0.
  bool start(int32_t id, TimerCallback callback);
  // Frees the slot of id.
  void stop(int32_t id);
  // Calls the callback of every slot holding id.
  void fire(int32_t id) const;
  int32_t count() const { return count_; }
  void clear();

 private:
  struct Slot {
    int32_t id = 0;
    TimerCallback callback = nullptr;
  };
  std::array<Slot, capacity> slots_{};
  int32_t count_ = 0;
};

}  // namespace vozo
