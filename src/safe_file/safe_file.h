// SPDX-License-Identifier: GPL-3.0-or-later
// One way to write an output file: the bytes go to a new temporary file in the target's
// folder, which is flushed to disk and then renamed over the target. Another process sees
// the old file or the new one, whole, never a part; a failure leaves the old file as it
// was and removes the temporary.
//
// Only a regular file that may be written is replaced. A symbolic link, a FIFO, a device,
// a socket or a folder in the target's place is refused, never written through, and so is
// a file without any write permission bit (mode 0444): the mode is what counts, so a
// read-only result stays read-only even for root.
//
// The temporary is named ".<target>.gemino-tmp-XXXXXX" (the target's name shortened when
// the whole would pass the folder's name length limit), so that one left by a power cut
// or SIGKILL is recognisable. While it exists it is registered with interrupt_cleanup.h.
//
// For tests only: when the environment variable GEMINO_TEST_HOLD_TEMPORARY holds the
// number of an open socket, the first write of the process, once its temporary exists,
// sends the temporary's path and a line end on it and waits for one byte back (or the
// socket's end) before it goes on. A test uses it to interrupt a write at its most fragile
// moment, or to change the target under it.
#pragma once

#include <string>
#include <string_view>

namespace safe_file {

// Where a write stopped.
enum class Stage {
  done,     // the target holds the bytes
  refused,  // the target cannot or must not be replaced; nothing was created
  create,   // the temporary could not be created
  write,    // writing, flushing or closing the temporary failed
  rename,   // the complete temporary could not take the target's place
};

struct Outcome {
  Stage stage = Stage::done;
  int error = 0;       // the system's error number (0 when done)
  std::string reason;  // why, in words: the system's text or what the target is

  bool ok() const { return stage == Stage::done; }
};

// Writes `bytes` to `path` as described above. Never throws on a failure of the system.
Outcome write_file(const std::string& path, std::string_view bytes);

// Why the target may not be replaced (empty when it may, or when it does not exist yet):
// "is a symbolic link", "is a folder", "is not a regular file", "is read-only"; errors of
// the path itself (missing folder, name too long) give the system's text. `error` receives
// the matching error number.
std::string refusal(const std::string& path, int& error);

// "cannot write PATH: REASON": the one-line message of a failed write.
std::string message(const std::string& path, const Outcome& outcome);

// The name of the temporary for a target name (no folder) within a length limit.
std::string temporary_name(std::string_view target_name, std::string_view suffix,
                           std::size_t name_max);

// What every temporary name holds after the target's name.
inline constexpr std::string_view temporary_marker = ".gemino-tmp-";

}  // namespace safe_file
