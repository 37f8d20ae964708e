// SPDX-License-Identifier: GPL-3.0-or-later
// A batch run as a separate process, where it can do harm: a summary that would overwrite a
// site's file, sites it must not touch or must not write into, signals while its sites
// run, and a summary that cannot be written. Every run is bounded, so that a batch that
// hangs fails its test instead of stopping the suite.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "cli/term_run.h"
#include "support/records.h"
#include "support/scratch_dir.h"

namespace {

namespace fs = std::filesystem;
using test_support::ScratchDir;
using test_support::slurp;

using cli_test::copy_example;

struct Start {
  std::string out = "stdout.txt";  // standard output, relative to the scratch folder
  bool ignore_children = false;    // started with SIGCHLD ignored, as some launchers do
};

// Starts the program in `dir` in a process group of its own, the input empty.
pid_t start(const ScratchDir& dir, const std::vector<std::string>& args, const Start& how = {}) {
  std::vector<std::string> all = {GEMINO_TERM_PATH};
  all.insert(all.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : all) argv.push_back(a.data());
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  ::setpgid(0, 0);
  for (int s : {SIGINT, SIGTERM, SIGHUP, SIGCHLD}) ::signal(s, SIG_DFL);
  if (how.ignore_children) ::signal(SIGCHLD, SIG_IGN);
  if (::chdir(dir.path().c_str()) != 0) ::_exit(120);
  const int in = ::open("/dev/null", O_RDONLY);
  const int out = ::open(how.out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  const int err = ::open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (in < 0 || out < 0 || err < 0) ::_exit(121);
  ::dup2(in, 0);
  ::dup2(out, 1);
  ::dup2(err, 2);
  ::execv(argv[0], argv.data());
  ::_exit(122);
}

void pause_briefly() {
  const timespec step = {0, 10'000'000};
  ::nanosleep(&step, nullptr);
}

// Waits for the run; a run still going after `limit` seconds is a hang, not a slow machine
// (a site's run takes about a second): it is killed with all it started, and the status
// is -1.
int finish(pid_t pid, int limit = 120) {
  for (int k = 0; k < limit * 100; ++k) {
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) return status;
    pause_briefly();
  }
  ::kill(-pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return -1;
}

bool has_bytes(const std::string& path) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  return !ec && size > 0;
}

int exit_code(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A folder's entries as they are: kind, and the bytes of a file or the target of a link.
std::map<std::string, std::string> snapshot(const std::string& folder) {
  std::map<std::string, std::string> out;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    const fs::path& p = entry.path();
    const fs::file_status st = fs::symlink_status(p);
    std::string what = std::to_string(static_cast<int>(st.type())) + ":";
    if (fs::is_symlink(st)) what += fs::read_symlink(p).string();
    if (fs::is_regular_file(st)) what += slurp(p.string());
    out[p.filename().string()] = what;
  }
  return out;
}

// The summary's rows by site: the exit code of each.
std::map<std::string, std::string> codes_of(const std::string& summary) {
  std::map<std::string, std::string> codes;
  std::istringstream rows(summary);
  std::string row;
  std::getline(rows, row);
  while (std::getline(rows, row)) {
    const std::size_t a = row.find(',');
    const std::size_t b = row.find(',', a + 1);
    codes[row.substr(0, a)] = row.substr(a + 1, b - a - 1);
  }
  return codes;
}

// The process working in the folder (a site's run works in its folder), or 0.
pid_t process_in(const std::string& folder) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/proc", ec)) {
    std::error_code gone;
    const fs::path cwd = fs::read_symlink(entry.path() / "cwd", gone);
    if (!gone && fs::equivalent(cwd, folder, gone) && !gone) {
      return static_cast<pid_t>(std::stol(entry.path().filename().string()));
    }
  }
  return 0;
}

// Waits until both sites' runs have started: their consoles hold the program's first lines.
bool started(const ScratchDir& dir, const char* a, const char* b) {
  for (int k = 0; k < 60000; ++k) {
    if (has_bytes(dir.file(std::string(a) + "/console.txt")) &&
        has_bytes(dir.file(std::string(b) + "/console.txt"))) {
      return true;
    }
    pause_briefly();
  }
  return false;
}

TEST(Batch, UsageMistakesAreFoundBeforeAnySiteRuns) {
  ScratchDir dir;
  copy_example(dir.file("north"));
  fs::create_directory_symlink("north", dir.file("alias"));
  const std::string params = slurp(dir.file("north/params.txt"));
  const struct {
    std::vector<std::string> args;
  } cases[] = {
      {{"--batch", "north", "--summary", "north/report.txt"}},
      {{"--batch", "north", "--summary", "north/./params.txt"}},
      {{"--batch", "north", "--summary", dir.file("north/data.txt")}},
      {{"--batch", "north", "--summary", "north/result.json"}},
      {{"--batch", "north", "--summary", "north/stereonet.svg"}},
      {{"--batch", "north", "--summary", "north/console.txt"}},
      {{"--batch", "north", "--summary", "alias/report.txt"}},
      {{"--batch", "alias", "--summary", "north/../north/console.txt"}},
      {{"--batch", "north", "--summary", "missing/summary.csv"}},
      {{"--batch", "north", "./north/"}},
      {{"--batch", "north", "alias"}},
  };
  for (const auto& c : cases) {
    const std::string shown = c.args[1] + " " + c.args[2] + " " + c.args.back();
    const int status = finish(start(dir, c.args));
    EXPECT_EQ(exit_code(status), 64) << shown;
    const std::string err = slurp(dir.file("stderr.txt"));
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << shown << ": " << err;
    EXPECT_FALSE(fs::exists(dir.file("north/console.txt"))) << shown;
    EXPECT_FALSE(fs::exists(dir.file("north/report.txt"))) << shown;
    EXPECT_FALSE(fs::exists(dir.file("missing"))) << shown;
    EXPECT_EQ(slurp(dir.file("north/params.txt")), params) << shown;
  }
}

TEST(Batch, SitesThatCannotRunSafelyAreLeftAsTheyWere) {
  ScratchDir dir;
  const std::string outside = dir.file("outside.txt");
  test_support::put(outside, "not the batch's\n");
  copy_example(dir.file("good"));
  struct Site {
    const char* name;
    const char* code;
    void (*make)(const std::string& folder, const std::string& outside);
  };
  const Site sites[] = {
      {"empty", "66", [](const std::string& f, const std::string&) { fs::create_directory(f); }},
      {"params_only", "66",
       [](const std::string& f, const std::string&) {
         fs::create_directory(f);
         fs::copy_file(GEMINO_EXAMPLES "/params.txt", f + "/params.txt");
       }},
      {"data_only", "66",
       [](const std::string& f, const std::string&) {
         fs::create_directory(f);
         fs::copy_file(GEMINO_EXAMPLES "/data.txt", f + "/data.txt");
       }},
      {"absent", "66", [](const std::string&, const std::string&) {}},
      {"report_fifo", "73",
       [](const std::string& f, const std::string&) {
         copy_example(f);
         ::mkfifo((f + "/report.txt").c_str(), 0644);
       }},
      {"console_fifo", "73",
       [](const std::string& f, const std::string&) {
         copy_example(f);
         ::mkfifo((f + "/console.txt").c_str(), 0644);
       }},
      {"report_link", "73",
       [](const std::string& f, const std::string& o) {
         copy_example(f);
         fs::create_symlink(o, f + "/report.txt");
       }},
      {"console_link", "73",
       [](const std::string& f, const std::string& o) {
         copy_example(f);
         fs::create_symlink(o, f + "/console.txt");
       }},
      {"json_link", "73",
       [](const std::string& f, const std::string& o) {
         copy_example(f);
         fs::create_symlink(o, f + "/result.json");
       }},
      {"figure_link", "73",
       [](const std::string& f, const std::string& o) {
         copy_example(f);
         fs::create_symlink(o, f + "/stereonet.svg");
       }},
      {"report_folder", "73",
       [](const std::string& f, const std::string&) {
         copy_example(f);
         fs::create_directory(f + "/report.txt");
       }},
      {"read_only", "73",
       [](const std::string& f, const std::string&) {
         copy_example(f);
         ::chmod(f.c_str(), 0555);
       }},
  };
  std::vector<std::string> args = {"--batch", "good"};
  std::map<std::string, std::map<std::string, std::string>> before;
  for (const Site& s : sites) {
    s.make(dir.file(s.name), outside);
    args.push_back(s.name);
    before[s.name] = snapshot(dir.file(s.name));
  }
  args.insert(args.end(), {"--jobs", "2", "--summary", "summary.csv"});

  const int status = finish(start(dir, args));
  ::chmod(dir.file("read_only").c_str(), 0755);
  ASSERT_NE(status, -1) << "the batch hung";
  EXPECT_EQ(exit_code(status), 1);
  const std::map<std::string, std::string> codes = codes_of(slurp(dir.file("summary.csv")));
  EXPECT_EQ(codes.at("good"), "0");
  for (const Site& s : sites) {
    EXPECT_EQ(codes.at(s.name), s.code) << s.name;
    EXPECT_EQ(snapshot(dir.file(s.name)), before[s.name]) << s.name;
  }
  EXPECT_EQ(slurp(outside), "not the batch's\n");
  EXPECT_FALSE(fs::exists(dir.file("absent")));
}

TEST(Batch, EndingSignalsReachTheRunningSitesAndEndTheBatch) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    ScratchDir dir;
    copy_example(dir.file("east"));
    copy_example(dir.file("west"));
    copy_example(dir.file("later"));
    // Runs long enough to be caught running: resampling far more than any test waits for.
    const pid_t batch = start(dir, {"--batch", "east", "west", "later", "--jobs", "2",
                                    "--bootstrap", "1000000", "--summary", "summary.csv"});
    ASSERT_TRUE(started(dir, "east", "west"));
    ::kill(batch, signal);
    const int status = finish(batch);
    ASSERT_NE(status, -1) << "the batch did not end on signal " << signal;
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
        << signal << ": status " << status;
    for (const char* site : {"east", "west", "later"}) {
      EXPECT_EQ(process_in(dir.file(site)), 0) << site << " still running";
    }
    EXPECT_FALSE(fs::exists(dir.file("later/console.txt"))) << "a site started after the signal";
    EXPECT_FALSE(fs::exists(dir.file("summary.csv")));
    ::kill(-batch, SIGKILL);  // nothing should be left; never leave a run behind
  }
}

TEST(Batch, AnEarlierResultNeverStaysBesideAFailedRun) {
  ScratchDir dir;
  copy_example(dir.file("broken"));
  copy_example(dir.file("killed"));
  test_support::put(dir.file("broken/params.txt"), "TOO SHORT\n");
  for (const char* site : {"broken", "killed"}) {
    test_support::put(dir.file(std::string(site) + "/result.json"), "{\"from\": \"earlier\"}\n");
  }
  // A run that fails removes its result; one killed outright cannot.
  const pid_t batch = start(dir, {"--batch", "broken", "killed", "--jobs", "2", "--bootstrap",
                                  "1000000", "--summary", "summary.csv"});
  ASSERT_TRUE(started(dir, "broken", "killed"));
  pid_t run = 0;
  for (int k = 0; k < 60000 && run == 0; ++k) {
    run = process_in(dir.file("killed"));
    if (run == 0) pause_briefly();
  }
  ASSERT_NE(run, 0);
  ::kill(run, SIGKILL);
  EXPECT_EQ(exit_code(finish(batch)), 1);
  const std::map<std::string, std::string> codes = codes_of(slurp(dir.file("summary.csv")));
  EXPECT_EQ(codes.at("broken"), "2");
  EXPECT_EQ(codes.at("killed"), "137");
  for (const char* site : {"broken", "killed"}) {
    EXPECT_FALSE(fs::exists(dir.file(std::string(site) + "/result.json"))) << site;
  }
}

TEST(Batch, ASummaryThatCannotBeWrittenIsAFailure) {
  ScratchDir dir;
  copy_example(dir.file("site"));
  fs::create_directory(dir.file("locked"));
  ::chmod(dir.file("locked").c_str(), 0555);
  test_support::put(dir.file("outside.csv"), "kept\n");
  fs::create_symlink(dir.file("outside.csv"), dir.file("linked.csv"));
  fs::create_symlink(dir.file("outside.csv"), dir.file("line\nend.csv"));
  // A device that is always full; made in the scratch folder where the test may, so that a
  // batch that replaced the device instead of writing to it would harm nothing.
  std::string full = "/dev/full";
  if (::mknod(dir.file("full").c_str(), S_IFCHR | 0666, ::makedev(1, 7)) == 0) {
    full = dir.file("full");
  }
  const struct {
    const char* summary;  // empty: the standard output
    const char* out;
  } cases[] = {
      {full.c_str(), "stdout.txt"},         {"", "/dev/full"},
      {"locked/summary.csv", "stdout.txt"}, {"linked.csv", "stdout.txt"},
      {"line\nend.csv", "stdout.txt"},  // the message still one line
  };
  for (const auto& c : cases) {
    std::vector<std::string> args = {"--batch", "site"};
    if (*c.summary != '\0') args.insert(args.end(), {"--summary", c.summary});
    Start how;
    how.out = c.out;
    const int status = finish(start(dir, args, how));
    EXPECT_EQ(exit_code(status), 73) << c.summary << " > " << c.out;
    const std::string err = slurp(dir.file("stderr.txt"));
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
  }
  ::chmod(dir.file("locked").c_str(), 0755);
  EXPECT_TRUE(fs::is_empty(dir.file("locked")));
  EXPECT_EQ(slurp(dir.file("outside.csv")), "kept\n");
  EXPECT_TRUE(fs::is_symlink(dir.file("linked.csv")));
  EXPECT_TRUE(fs::is_character_file(full));
}

TEST(Batch, RunsAreWaitedForEvenWhenTheCallerIgnoresTheirEnds) {
  ScratchDir dir;
  copy_example(dir.file("north"));
  copy_example(dir.file("south"));
  Start how;
  how.ignore_children = true;
  const int status = finish(start(dir, {"--batch", "north", "south", "--jobs", "2"}, how));
  EXPECT_EQ(exit_code(status), 0);
  const std::map<std::string, std::string> codes = codes_of(slurp(dir.file("stdout.txt")));
  EXPECT_EQ(codes, (std::map<std::string, std::string>{{"north", "0"}, {"south", "0"}}));
}

}  // namespace
