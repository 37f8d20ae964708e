// SPDX-License-Identifier: GPL-3.0-or-later
#include "safe_file/interrupt_cleanup.h"

#include <limits.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

namespace safe_file {

namespace {

// A slot is free, being filled, holding a temporary, or taken by the handler (for good:
// the process is ending).
enum SlotState : int { free_slot = 0, filling = 1, held = 2, removing = 3 };

constexpr int slot_count = 64;
static_assert(std::atomic<int>::is_always_lock_free, "the handler reads the slots");

struct Slot {
  std::atomic<int> state{free_slot};
  char path[PATH_MAX];
};

Slot slots[slot_count];

constexpr int cleaned_signals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void remove_temporaries(int signal_number) {
  const int saved_errno = errno;
  for (Slot& slot : slots) {
    int expected = held;
    if (slot.state.compare_exchange_strong(expected, removing)) ::unlink(slot.path);
  }
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal_number, &action, nullptr);
  errno = saved_errno;
  // Delivered once the handler returns and the signal is no longer blocked.
  raise(signal_number);
}

}  // namespace

void install_interrupt_cleanup() {
  for (int signal_number : cleaned_signals) {
    struct sigaction before {};
    if (sigaction(signal_number, nullptr, &before) != 0) continue;
    if (before.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = remove_temporaries;
    sigemptyset(&action.sa_mask);
    // One cleanup at a time, whichever of the signals comes.
    for (int other : cleaned_signals) sigaddset(&action.sa_mask, other);
    action.sa_flags = SA_RESTART;
    sigaction(signal_number, &action, nullptr);
  }
}

int register_temporary(const char* path) {
  const std::size_t length = std::strlen(path);
  if (length >= PATH_MAX) return -1;
  for (int k = 0; k < slot_count; ++k) {
    int expected = free_slot;
    if (!slots[k].state.compare_exchange_strong(expected, filling)) continue;
    std::memcpy(slots[k].path, path, length + 1);
    slots[k].state.store(held);
    return k;
  }
  return -1;
}

void release_temporary(int slot) {
  if (slot < 0 || slot >= slot_count) return;
  // A slot the handler took stays taken: its path must not change under it.
  int expected = held;
  slots[slot].state.compare_exchange_strong(expected, free_slot);
}

}  // namespace safe_file
