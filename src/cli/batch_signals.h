// SPDX-License-Identifier: GPL-3.0-or-later
// The signals that end a batch (SIGINT, SIGTERM, SIGHUP) and the ends of its site runs
// (SIGCHLD). While the batch runs they are held back and taken only while it waits, so
// that none is lost between a look at the runs and the wait for the next one.
#pragma once

#include <signal.h>

namespace cli {

class BatchSignals {
 public:
  // Installs the handlers and holds the signals back; the earlier handlers and mask come
  // back with the object.
  BatchSignals();
  ~BatchSignals();
  BatchSignals(const BatchSignals&) = delete;
  BatchSignals& operator=(const BatchSignals&) = delete;

  // The last signal asking the batch to end (0: none), and how many have come: a site run
  // is sent each one once.
  int ending() const;
  int ending_count() const;

  // Waits until a signal comes (a run ending counts), taking any that came meanwhile.
  void wait() const;

  // In a new site run, between fork and exec: the handlers and the mask the batch was given
  // (a signal ignored by the batch's caller stays ignored). Async-signal-safe.
  void in_site_run() const;

  // Ends the batch as the signal would have ended it without a handler.
  [[noreturn]] void end_with(int signal) const;

 private:
  struct sigaction ending_[3];  // the caller's handlers of SIGINT, SIGTERM, SIGHUP
  struct sigaction child_;      // and of SIGCHLD
  sigset_t mask_;               // the caller's mask
  sigset_t waiting_;            // the mask while waiting: the caller's, letting ours through
};

}  // namespace cli
