// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch_signals.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>

namespace cli {

namespace {

// What the handlers record: they belong to the process, not to one batch.
volatile std::sig_atomic_t last_ending = 0;
volatile std::sig_atomic_t endings = 0;

void on_ending(int signal) {
  last_ending = signal;
  endings = endings + 1;
}

// Only there so that a run's end interrupts the wait.
void on_child(int) {}

constexpr int ending_signals[] = {SIGINT, SIGTERM, SIGHUP};

}  // namespace

BatchSignals::BatchSignals() : ending_{}, child_{}, mask_{}, waiting_{} {
  last_ending = 0;
  endings = 0;
  sigset_t held;
  sigemptyset(&held);
  for (int s : ending_signals) sigaddset(&held, s);
  sigaddset(&held, SIGCHLD);
  sigprocmask(SIG_BLOCK, &held, &mask_);
  waiting_ = mask_;
  for (int s : ending_signals) sigdelset(&waiting_, s);
  sigdelset(&waiting_, SIGCHLD);

  struct sigaction act {};
  sigemptyset(&act.sa_mask);
  act.sa_handler = on_ending;
  for (int k = 0; k < 3; ++k) {
    sigaction(ending_signals[k], nullptr, &ending_[k]);
    // A signal the caller chose to ignore (nohup) goes on being ignored.
    if (ending_[k].sa_handler != SIG_IGN) sigaction(ending_signals[k], &act, nullptr);
  }
  // Installed even where the caller ignored SIGCHLD: ignored, the runs' ends could not be
  // waited for.
  act.sa_handler = on_child;
  act.sa_flags = SA_NOCLDSTOP;
  sigaction(SIGCHLD, &act, &child_);
}

BatchSignals::~BatchSignals() {
  for (int k = 0; k < 3; ++k) sigaction(ending_signals[k], &ending_[k], nullptr);
  sigaction(SIGCHLD, &child_, nullptr);
  sigprocmask(SIG_SETMASK, &mask_, nullptr);
}

int BatchSignals::ending() const {
  return last_ending;
}
int BatchSignals::ending_count() const {
  return endings;
}

void BatchSignals::wait() const {
  sigsuspend(&waiting_);
}

void BatchSignals::in_site_run() const {
  struct sigaction dfl {};
  sigemptyset(&dfl.sa_mask);
  dfl.sa_handler = SIG_DFL;
  for (int k = 0; k < 3; ++k) {
    sigaction(ending_signals[k], ending_[k].sa_handler == SIG_IGN ? &ending_[k] : &dfl, nullptr);
  }
  sigaction(SIGCHLD, &dfl, nullptr);
  sigprocmask(SIG_SETMASK, &mask_, nullptr);
}

void BatchSignals::end_with(int signal) const {
  struct sigaction dfl {};
  sigemptyset(&dfl.sa_mask);
  dfl.sa_handler = SIG_DFL;
  sigaction(signal, &dfl, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  sigprocmask(SIG_UNBLOCK, &only, nullptr);
  ::raise(signal);
  ::_exit(128 + signal);
}

}  // namespace cli
