// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal program given ordinary mistakes and hostile files: no input file is ever
// overwritten, no run hangs, and every failure ends with its message and exit code.
// One table: what was typed (and how the standard streams were set up), which files must
// keep their bytes, the exit code and a text the console (or standard error) must show.
// The report starts each run holding an older report: unless the run never reached the
// report's question, none of that may be left.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "gemino/io_files.h"

namespace {

using gemino_test::block_header;
using gemino_test::data_record;
using gemino_test::Lines;
using gemino_test::ScratchDir;
using gemino_test::slurp;
using gemino_test::two_grains;
using gemino_test::write_lines;

const std::string old_report = "previous run's tensor\r\n";
const std::string kept_name = "results_site_A_2010_calcite_v1";  // 30 characters

struct Case {
  const char* what;
  std::string answers;
  std::vector<std::string> unchanged;  // files that must keep their bytes
  int exit_code;
  std::string message;  // shown on the console or standard error ("" for none)
  std::string streams;  // shell redirections after the usual ones
  Lines data = two_grains();
  std::string run = "1 2 50 5 20 0 0";  // the run parameters' record
};

std::string answers(const std::string& params, const std::string& data, const std::string& report) {
  return "\n" + params + "\n" + data + "\n" + report + "\n";
}

void run_case(const Case& c) {
  SCOPED_TRACE(c.what);
  ScratchDir dir;
  Lines params(10, "DATA SAFETY");
  params.push_back(c.run);
  params.push_back("0 0");
  write_lines(dir.file("params.txt"), params);
  write_lines(dir.file("data.txt"), c.data);
  write_lines(dir.file("answers.txt"), {c.answers});
  write_lines(dir.file(kept_name), {"an earlier report"});
  std::ofstream(dir.file("report.txt"), std::ios::binary) << old_report;
  ASSERT_EQ(::symlink("data.txt", dir.file("link.txt").c_str()), 0);
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
  std::vector<std::string> before;
  for (const std::string& f : c.unchanged) before.push_back(slurp(dir.file(f)));

  const std::string command =
      "cd '" + dir.file("") +
      "' && timeout 60 '" GEMINO_TERM_PATH "' < answers.txt > console.txt 2>&1 " + c.streams;
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), c.exit_code);
  const std::string console = slurp(dir.file("console.txt"));
  EXPECT_NE(console.find(c.message), std::string::npos) << c.message << "\n" << console;
  for (std::size_t k = 0; k < c.unchanged.size(); ++k) {
    EXPECT_EQ(slurp(dir.file(c.unchanged[k])), before[k]) << c.unchanged[k];
  }
  if (std::find(c.unchanged.begin(), c.unchanged.end(), "report.txt") == c.unchanged.end()) {
    EXPECT_EQ(slurp(dir.file("report.txt")).find(old_report), std::string::npos);
  }
}

TEST(DataSafety, NoFileLostNoRunHangsEveryFailureSaid) {
  const std::string normal = answers("params.txt", "data.txt", "report.txt");
  Lines letter = two_grains();
  letter[3][4] = 'O';
  const std::vector<Case> cases = {
      {"report named as the parameter file",
       answers("params.txt", "data.txt", "params.txt") + "\nreport.txt\n",
       {"params.txt"},
       0,
       " ALREADY OPEN AS THE PARAMETERS FILE\r\n ===> RETRYING",
       ""},
      {"report named as the data file by another path",
       answers("params.txt", "data.txt", "./data.txt") + "\nreport.txt\n",
       {"data.txt"},
       0,
       " ALREADY OPEN AS THE DATA FILE\r\n",
       ""},
      {"report named as a link to the data file",
       answers("params.txt", "link.txt", "data.txt") + "\nreport.txt\n",
       {"data.txt"},
       0,
       " ALREADY OPEN AS THE DATA FILE\r\n",
       ""},
      {"a long name that begins with an existing one",
       answers("params.txt", "data.txt", kept_name + "_final.txt"),
       {kept_name, "report.txt"},
       0,
       " New value = " + kept_name + "_final.txt\r\n",
       ""},
      {"a FIFO, a device and a folder as the data file",
       "\nparams.txt\nfifo\n\n/dev/zero\n\n.\n\ndata.txt\nreport.txt\n",
       {"data.txt"},
       0,
       " NOT A REGULAR FILE\r\n",
       ""},
      {"standard output closed", normal, {"params.txt", "data.txt"}, 0, "", ">&-"},
      {"standard input without line ends",
       normal,
       {"report.txt"},
       2,
       "? Input record too long\r\n",
       "< /dev/zero"},
      {"console on a full disk",
       normal,
       {"params.txt", "data.txt", "report.txt"},
       2,
       "console output could not be written",
       "> /dev/full"},
      {"only c-axes: nothing to invert",
       normal,
       {"data.txt"},
       1,
       "THE DATA FILE LEAVES NO PLANE TO INVERT: THE RUN STOPS",
       "",
       {block_header(0, 0, 0, 0), data_record(268, 37, ' ', 0, 1, ' '),
        data_record(999, 0, ' ', 0, 0, ' ')}},
      {"a letter in the data: the report is not the previous one",
       normal,
       {"data.txt"},
       2,
       "? READ(UNIT=4,...\r\n? File data.txt, line 4, column 3\r\n",
       "",
       letter},
      {"an integer beyond 32 bits",
       normal,
       {},
       2,
       "? Numeric overflow in input\r\n",
       "",
       two_grains(),
       "1 99999999999 50 5 20 0 0"},
  };
  for (const Case& c : cases) run_case(c);
}

}  // namespace
