// SPDX-License-Identifier: GPL-3.0-or-later
// The files of a single run: names as the console opens them, one file under several
// spellings, which earlier outputs are removed before the run and which are refused, and
// a run interrupted while an output is being written.
#include "cli/run_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "gemino/io_files.h"

namespace {

namespace fs = std::filesystem;
using gemino_test::ScratchDir;
using gemino_test::slurp;
using test_support::put;

struct Outcome {
  int exit_code = -1;
  std::string err;
};

// Runs the program in `dir` with `args` (quoted for the shell) and `input` on its standard
// input.
Outcome term(const ScratchDir& dir, const std::string& args, const std::string& input = "") {
  put(dir.file("stdin.txt"), input);
  const std::string command = "cd '" + dir.file("") + "' && '" GEMINO_TERM_PATH "' " + args +
                              " < stdin.txt > stdout.txt 2> stderr.txt";
  const int status = std::system(command.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(dir.file("stderr.txt"))};
}

void copy_example(const ScratchDir& dir) {
  fs::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  fs::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
}

std::vector<std::string> leftovers(const ScratchDir& dir) {
  std::vector<std::string> out;
  for (const auto& entry : fs::directory_iterator(dir.path())) {
    const std::string name = entry.path().filename().string();
    if (name.find(".gemino-tmp-") != std::string::npos) out.push_back(name);
  }
  return out;
}

struct AnswerCase {
  std::string answer;  // the bytes of one console read
  std::optional<std::string> name;
};

TEST(RunFiles, AnAnswerNamesTheFileTheConsoleOpens) {
  const AnswerCase cases[] = {
      {"r.json\r\n", "r.json"},
      {"r.json", "r.json"},
      {"r.json  \t \r\n", "r.json"},
      {"r.json\r\r\n", "r.json"},
      {"\rr.json\r\n", "r.json"},         // a carriage return is dropped wherever it is
      {"r.json\nignored\r\n", "r.json"},  // one line
      {"ab\tc\r\n", "ab      c"},         // a tab reaches the next multiple of eight
      {"abcdefgh\tc\r\n", "abcdefgh        c"},
      // A first blank takes the default name: no file of the answer's.
      {" r.json\r\n", std::nullopt},
      {"\tr.json\r\n", std::nullopt},
      {"\r\n", std::nullopt},
      {"", std::nullopt},
  };
  for (const AnswerCase& c : cases) {
    EXPECT_EQ(cli::console_file_name(c.answer), c.name) << c.answer;
  }
}

TEST(RunFiles, SpellingsOfOneFileAreTheSameFile) {
  ScratchDir dir;
  fs::create_directory(dir.file("sub"));
  fs::create_directory(dir.file("real"));
  fs::create_directory_symlink("real", dir.file("linked"));
  put(dir.file("real/kept.txt"), "x");
  const fs::path here = fs::current_path();
  fs::current_path(dir.path());
  struct Pair {
    std::string a, b;
    bool same;
  };
  const Pair pairs[] = {
      {"new.json", "./new.json", true},
      {"new.json", dir.file("new.json"), true},
      {"new.json", "sub/../new.json", true},
      {"sub//new.json", "./sub/new.json", true},
      {"linked/kept.txt", "real/kept.txt", true},  // existing: the same inode
      {"new.json", "new.csv", false},
      {"sub/new.json", "new.json", false},
      {"linked/new.json", "real/new.json", true},  // new: one name in one folder
      {"linked/new.json", "sub/new.json", false},
  };
  for (const Pair& p : pairs) {
    EXPECT_EQ(cli::same_file(p.a, p.b), p.same) << p.a << " " << p.b;
  }
  fs::current_path(here);
}

TEST(RunFiles, OnlyTheBeginningsOfOurOutputsAreOurs) {
  struct Head {
    std::string bytes;
    bool ours;
  };
  const Head heads[] = {
      {"{\n  \"schema_version\": 1,", true},
      {"{\"schema_version\":1}", true},
      {"number,grain,block,twinned,pole_trend", true},
      {"resample,sigma1_trend,sigma1_plunge", true},
      {"<?xml version=\"1.0\"", true},
      {"<svg xmlns", true},
      {"%PDF-1.5", true},
      {std::string("\x89PNG\r\n\x1a\n", 8), true},
      {"", false},
      {"{\"from\": \"elsewhere\"}", false},
      {"{", false},
      {"number,grain\n", false},
      {"%PDF", false},
      {"\x89PNG", false},
      {"  10  20  30\n", false},
      {"<html>", false},
  };
  for (const Head& h : heads) EXPECT_EQ(cli::written_by_us(h.bytes), h.ours) << h.bytes;
}

TEST(RunFiles, EveryOutputOfARunIsOurs) {
  ScratchDir dir;
  copy_example(dir);
  ASSERT_EQ(term(dir,
                 "params.txt data.txt report.txt --json r.json --csv r.csv --stereonet s.svg "
                 "--grains g.pdf --shear-plot p.png --bootstrap 4 --bootstrap-csv b.csv")
                .exit_code,
            0);
  for (const char* name : {"r.json", "r.csv", "s.svg", "g.pdf", "p.png", "b.csv"}) {
    EXPECT_TRUE(cli::written_by_us(slurp(dir.file(name)).substr(0, 256))) << name;
  }
  EXPECT_FALSE(cli::written_by_us(slurp(dir.file("report.txt"))));
  EXPECT_FALSE(cli::written_by_us(slurp(dir.file("data.txt"))));
}

TEST(RunFiles, EarlierOutputsGoOtherFilesStayAndStopTheRun) {
  ScratchDir dir;
  put(dir.file("ours.json"), "{\n  \"schema_version\": 1\n}\n");
  put(dir.file("ours.svg"), "<?xml version=\"1.0\"?><svg/>");
  put(dir.file("notes.txt"), "my notes");
  EXPECT_EQ(cli::clear_earlier_outputs({dir.file("ours.json"), dir.file("missing.csv")}), "");
  EXPECT_FALSE(fs::exists(dir.file("ours.json")));
  // One file of other content: nothing is removed, and the reason names it.
  const std::string why = cli::clear_earlier_outputs({dir.file("ours.svg"), dir.file("notes.txt")});
  EXPECT_EQ(why, dir.file("notes.txt") +
                     " is not an output of gemino-term: it is neither replaced nor removed");
  EXPECT_EQ(slurp(dir.file("notes.txt")), "my notes");
  EXPECT_TRUE(fs::exists(dir.file("ours.svg")));
  fs::create_symlink("ours.svg", dir.file("link.svg"));
  EXPECT_EQ(cli::clear_earlier_outputs({dir.file("link.svg")}),
            "cannot write " + dir.file("link.svg") + ": is a symbolic link");
  EXPECT_TRUE(fs::exists(dir.file("ours.svg")));
}

TEST(RunFiles, AMistypedDataNameNamedAsAnOutputIsNeitherRunNorWrittenOver) {
  ScratchDir dir;
  copy_example(dir);
  const std::string data = slurp(dir.file("data.txt"));
  // The data meant as the second name is given as the JSON's.
  const Outcome run = term(dir, "params.txt dta.txt report.txt --json data.txt");
  EXPECT_EQ(run.exit_code, 73);
  EXPECT_EQ(run.err,
            "gemino-term: data.txt is not an output of gemino-term: it is neither "
            "replaced nor removed\n");
  EXPECT_EQ(slurp(dir.file("data.txt")), data);
  EXPECT_FALSE(fs::exists(dir.file("report.txt")));
}

TEST(RunFiles, AReadOnlyEarlierResultStopsTheRunBeforeTheReport) {
  ScratchDir dir;
  copy_example(dir);
  ASSERT_EQ(term(dir, "params.txt data.txt report.txt --json r.json").exit_code, 0);
  const std::string earlier = slurp(dir.file("r.json"));
  fs::remove(dir.file("report.txt"));
  fs::permissions(dir.file("r.json"), fs::perms::owner_read | fs::perms::group_read);
  const Outcome run = term(dir, "params.txt data.txt report.txt --json r.json");
  EXPECT_EQ(run.exit_code, 73);
  EXPECT_EQ(run.err, "gemino-term: cannot write r.json: is read-only\n");
  EXPECT_EQ(slurp(dir.file("r.json")), earlier);
  EXPECT_FALSE(fs::exists(dir.file("report.txt")));
}

TEST(RunFiles, ATypedReportNamedAsAnOutputIsKeptUnderEverySpelling) {
  ScratchDir dir;
  copy_example(dir);
  fs::create_directory(dir.file("sub"));
  const std::string spellings[] = {"r.json",     "./r.json", "sub/../r.json",
                                   "r.json \t ", "r.json\r", dir.file("r.json")};
  for (const std::string& typed : spellings) {
    fs::remove(dir.file("r.json"));
    const Outcome run = term(dir, "--json r.json", "\nparams.txt\ndata.txt\n" + typed + "\n");
    EXPECT_EQ(run.exit_code, 73) << typed;
    EXPECT_NE(slurp(dir.file("r.json")).find("SEUIL="), std::string::npos) << typed;
  }
}

TEST(RunFiles, EveryAnswerIsRememberedNotOnlyTheFirstThousand) {
  ScratchDir dir;
  copy_example(dir);
  // 1200 names that do not open, each asked again, then the files: the report is typed
  // as the JSON's name.
  std::string input = "\n";
  for (int k = 0; k < 1200; ++k) input += "missing.txt\n";
  input += "params.txt\ndata.txt\nr.json\n";
  const Outcome run = term(dir, "--json r.json", input);
  EXPECT_EQ(run.exit_code, 73);
  EXPECT_NE(slurp(dir.file("r.json")).find("SEUIL="), std::string::npos);
}

struct Interrupted {
  int status = 0;
  std::string temporary;
};

// Runs the program in `dir` with `args`, its first output held once its temporary exists,
// and sends `signal_number` then.
Interrupted interrupt_term(const ScratchDir& dir, const std::vector<std::string>& args,
                           int signal_number) {
  Interrupted result;
  int ends[2];
  if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) return result;
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(ends[0]);
    if (::chdir(dir.path().c_str()) != 0) ::_exit(120);
    ::setenv("GEMINO_TEST_HOLD_TEMPORARY", std::to_string(ends[1]).c_str(), 1);
    std::vector<char*> argv{const_cast<char*>(GEMINO_TERM_PATH)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    if (!std::freopen("/dev/null", "r", stdin) || !std::freopen("console.txt", "w", stdout)) {
      ::_exit(121);
    }
    ::execv(GEMINO_TERM_PATH, argv.data());
    ::_exit(122);
  }
  ::close(ends[1]);
  char c = 0;
  while (::read(ends[0], &c, 1) == 1 && c != '\n') result.temporary.push_back(c);
  if (!result.temporary.empty() && fs::exists(dir.file(result.temporary))) {
    ::kill(child, signal_number);
  } else {
    ADD_FAILURE() << "no temporary to interrupt: '" << result.temporary << "'";
  }
  ::close(ends[0]);
  while (::waitpid(child, &result.status, 0) < 0 && errno == EINTR) {
  }
  return result;
}

TEST(RunFiles, ARunInterruptedWhileWritingLeavesNoOutputOfAnyRun) {
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    ScratchDir dir;
    copy_example(dir);
    const std::vector<std::string> args = {"params.txt", "data.txt", "report.txt", "--json",
                                           "r.json",     "--csv",    "r.csv"};
    ASSERT_EQ(term(dir, "params.txt data.txt report.txt --json r.json --csv r.csv").exit_code, 0);
    const Interrupted run = interrupt_term(dir, args, signal_number);
    ASSERT_TRUE(WIFSIGNALED(run.status)) << signal_number << " status " << run.status;
    EXPECT_EQ(WTERMSIG(run.status), signal_number);
    EXPECT_NE(run.temporary.find(".r.json.gemino-tmp-"), std::string::npos) << run.temporary;
    EXPECT_EQ(leftovers(dir), std::vector<std::string>{}) << signal_number;
    EXPECT_FALSE(fs::exists(dir.file("r.json"))) << signal_number;
    EXPECT_FALSE(fs::exists(dir.file("r.csv"))) << signal_number;
    EXPECT_NE(slurp(dir.file("report.txt")).find("SEUIL="), std::string::npos);
  }
}

}  // namespace
