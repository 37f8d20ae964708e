// SPDX-License-Identifier: GPL-3.0-or-later
// The frame's Exit sequence, and the count of open console windows it closes.
#pragma once

#include <cstdint>
#include <string_view>

namespace vozo {

// Counts the console windows open. The 100th window is one too many: the program
// then stops with window_limit_message.
inline constexpr int32_t console_window_limit = 100;
inline constexpr std::string_view window_limit_message = "Maximun window allowed to open is 100 ";
class WindowCount {
 public:
  // A console window was created; false when that reached the limit.
  bool opened() { return ++open_ < console_window_limit; }
  void closed() {
    if (open_ > 0) --open_;
  }
  int32_t open() const { return open_; }

 private:
  int32_t open_ = 0;
};

// What the Exit sequence needs of the frame.
class ExitHost {
 public:
  virtual ~ExitHost() = default;
  virtual int32_t open_window_count() = 0;
  virtual bool has_active_child() = 0;
  // Asks the active child to close (a console asks whether to save). False when the
  // user chose to keep it.
  virtual bool close_active_child() = 0;
  // With no active child: asks some remaining child to close. Returns nothing when no
  // child is left; otherwise as close_active_child.
  enum class CloseResult { closed, kept, none_left };
  virtual CloseResult close_some_child() = 0;
  // Ends the frame: the quit request is posted.
  virtual void destroy_frame() = 0;
  virtual bool computation_ended() = 0;
  // Stops the computation as a blank STOP would.
  virtual void stop_computation() = 0;
};
enum class ExitResult { cancelled, quit };
// Closes every child in turn, each with its prompt; a Cancel stops there and keeps
// what is still open. Otherwise the frame ends and the computation is stopped.
ExitResult run_exit_sequence(ExitHost& host);

}  // namespace vozo
