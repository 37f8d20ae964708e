// SPDX-License-Identifier: GPL-3.0-or-later
// A write held at its most fragile moment (its temporary made, the target not yet
// replaced) in a child process: a signal removes the temporary and ends the child by that
// signal; a target changed under it makes the rename fail, which is said as a failure.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include "safe_file/interrupt_cleanup.h"
#include "safe_file/safe_file.h"
#include "support/records.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;
using test_support::put;
using test_support::ScratchDir;

using test_support::slurp;

int wait_for(pid_t child) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return status;
}

struct HeldWrite {
  pid_t child = -1;
  int socket = -1;        // a byte sent on it lets the write go on
  std::string temporary;  // the temporary's path
};

// Starts a child that writes `target` with the writer's hold asked for, and returns once
// its temporary exists. `prepare` runs in the child first.
HeldWrite start_held_write(const std::string& target, const std::function<void()>& prepare) {
  HeldWrite held;
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) return held;
  held.child = ::fork();
  if (held.child == 0) {
    ::close(ends[0]);
    prepare();
    ::setenv("GEMINO_TEST_HOLD_TEMPORARY", std::to_string(ends[1]).c_str(), 1);
    const safe_file::Outcome outcome = safe_file::write_file(target, "new content");
    // The exit code says where the write ended: 0 done, else 10 + the stage.
    ::_exit(outcome.ok() ? 0 : 10 + static_cast<int>(outcome.stage));
  }
  ::close(ends[1]);
  held.socket = ends[0];
  char c = 0;
  while (::read(held.socket, &c, 1) == 1 && c != '\n') held.temporary.push_back(c);
  return held;
}

// Lets the held write go on and gives how its process ended.
int finish(const HeldWrite& held) {
  const char go_on = 'g';
  EXPECT_EQ(::write(held.socket, &go_on, 1), 1);
  ::close(held.socket);
  return wait_for(held.child);
}

TEST(InterruptCleanup, EachSignalRemovesTheTemporaryAndEndsTheProcessByItself) {
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    ScratchDir dir;
    put(dir.file("r.json"), "earlier");
    const HeldWrite held =
        start_held_write(dir.file("r.json"), [] { safe_file::install_interrupt_cleanup(); });
    ASSERT_GT(held.child, 0);
    const std::string& temporary = held.temporary;
    ASSERT_FALSE(temporary.empty()) << signal_number;
    EXPECT_EQ(fs::path(temporary).parent_path(), fs::path(dir.path()));
    EXPECT_NE(temporary.find(".r.json.gemino-tmp-"), std::string::npos) << temporary;
    EXPECT_TRUE(fs::exists(temporary)) << signal_number;
    ASSERT_EQ(::kill(held.child, signal_number), 0);
    // The signal is pending before the write could go on: the socket's end lets a child
    // that survived it finish rather than wait.
    ::close(held.socket);
    const int status = wait_for(held.child);
    ASSERT_TRUE(WIFSIGNALED(status)) << signal_number << " status " << status;
    EXPECT_EQ(WTERMSIG(status), signal_number);
    EXPECT_FALSE(fs::exists(temporary)) << signal_number;
    EXPECT_EQ(slurp(dir.file("r.json")), "earlier");
  }
}

TEST(InterruptCleanup, ASignalStartedIgnoredStaysIgnored) {
  ScratchDir dir;
  // As under nohup: the hang-up does not end the write, which completes.
  const HeldWrite held = start_held_write(dir.file("r.json"), [] {
    ::signal(SIGHUP, SIG_IGN);
    safe_file::install_interrupt_cleanup();
  });
  ASSERT_GT(held.child, 0);
  ASSERT_EQ(::kill(held.child, SIGHUP), 0);
  const int status = finish(held);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_EQ(slurp(dir.file("r.json")), "new content");
}

TEST(InterruptCleanup, ATargetThatBecameAFolderIsAFailedRenameAndLeavesNoTemporary) {
  ScratchDir dir;
  put(dir.file("r.json"), "earlier");
  const HeldWrite held = start_held_write(dir.file("r.json"), [] {});
  ASSERT_GT(held.child, 0);
  // Checked before the temporary was made, the target changes before the rename.
  fs::remove(dir.file("r.json"));
  fs::create_directories(dir.file("r.json/inside"));
  const int status = finish(held);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  EXPECT_EQ(WEXITSTATUS(status), 10 + static_cast<int>(safe_file::Stage::rename));
  EXPECT_FALSE(fs::exists(held.temporary));
  EXPECT_TRUE(fs::is_directory(dir.file("r.json/inside")));
}

}  // namespace
