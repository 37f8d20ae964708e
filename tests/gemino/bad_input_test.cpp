// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal program thrown at bad files and bad console answers: each run ends with
// its clear message and a nonzero exit code, or runs normally where the input is legal.
// Under the sanitizer build the same runs also prove that no input writes past an array.
// Big inputs are made here at run time.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "gemino/io_files.h"

namespace {

using gemino_test::block_header;
using gemino_test::data_record;
using gemino_test::Lines;
using gemino_test::ScratchDir;
using gemino_test::TermRun;
using gemino_test::two_grains;

void write_bytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

std::string joined(const Lines& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + '\n';
  return out;
}

std::string crlf(const Lines& lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

Lines title_lines() {
  return {"BAD INPUT", "", "", "", "", "", "", "", "", ""};
}
const std::string title = joined(title_lines());
// Run parameters of a short run: start mode 1, two candidates, 20 search steps.
const std::string short_run = "1 2 50 5 20 0 0\n0 0\n";
const std::string normal_answers = "\nparams.txt\ndata.txt\nreport.txt\n";

// One block with `planes` twin planes to keep: grains of one c-axis and four planes.
std::string many_planes(int32_t planes) {
  Lines lines = {block_header(0, 0, 0, 0)};
  for (int32_t k = 0; k < planes; ++k) {
    const int32_t grain = 1 + k / 4;
    if (k % 4 == 0)
      lines.push_back(data_record((grain * 37) % 360, 20 + grain % 60, ' ', 0, grain, ' '));
    lines.push_back(
        data_record((k * 53) % 360, (k * 7) % 90, ' ', 0, grain, k % 3 == 0 ? 'N' : 'T'));
  }
  lines.push_back(data_record(999, 0, ' ', 0, 0, ' '));
  return joined(lines);
}

const std::string good_data = joined(two_grains());

TermRun run_term(const std::string& params, const std::string& data, const std::string& answers) {
  ScratchDir dir;
  write_bytes(dir.file("params.txt"), params);
  write_bytes(dir.file("data.txt"), data);
  write_bytes(dir.file("answers.txt"), answers);
  return gemino_test::run_term_in(dir);
}

struct Case {
  const char* what;
  std::string params;
  std::string data;
  std::string answers;
  int exit_code;
  // Texts the console must show, in this order.
  std::vector<std::string> console;
};

// The three-line report of a failed read on a unit.
std::vector<std::string> read_error(const std::string& message, int unit) {
  return {"? A run-time error occurred\r\n", "? " + message + "\r\n",
          "? READ(UNIT=" + std::to_string(unit) + ",...\r\n"};
}

void expect_in_order(const std::string& text, const std::vector<std::string>& parts) {
  std::size_t at = 0;
  for (const std::string& part : parts) {
    const std::size_t found = text.find(part, at);
    ASSERT_NE(found, std::string::npos) << "missing, in order: " << part;
    at = found + part.size();
  }
}

void run_cases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const TermRun run = run_term(c.params, c.data, c.answers);
    EXPECT_EQ(run.exit_code, c.exit_code);
    expect_in_order(run.console, c.console);
    if (c.exit_code == 0) {
      // A normal run ends its report with the last chart row.
      ASSERT_GE(run.report.size(), 118u);
      EXPECT_EQ(run.report.substr(run.report.size() - 2), "\r\n");
      EXPECT_EQ(run.report.rfind("\r\n", run.report.size() - 3), run.report.size() - 120);
    }
  }
}

const std::string past_end = "Attempt to read past end of file";
const std::string illegal = "Illegal character in numeric input";

TEST(BadInput, UnreadableFilesEndWithTheReadErrorReport) {
  std::string binary;
  for (int32_t k = 0; k < 4096; ++k) binary.push_back(static_cast<char>(0x8f + k * 41));
  Lines data = two_grains();
  data.pop_back();  // no end-of-data record
  std::string nul_in_number = good_data;
  nul_in_number[good_data.find("  268") + 3] = '\0';
  Lines letter = two_grains();
  letter[3][4] = 'O';  // direction "1O" of the first twin plane

  const std::string p = title + short_run;
  run_cases({
      {"missing end-of-data record", p, joined(data), normal_answers, 2, read_error(past_end, 4)},
      {"letter in a numeric data field", p, joined(letter), normal_answers, 2,
       read_error(illegal, 4)},
      {"letter in a run parameter", title + "1 2O 50 5 20 0 0\n0 0\n", good_data, normal_answers, 2,
       read_error(illegal, 3)},
      {"parameter file of the text lines only", title, good_data, normal_answers, 2,
       read_error(past_end, 3)},
      {"parameter file of five lines", "A\nB\nC\nD\nE\n", good_data, normal_answers, 2,
       read_error(past_end, 3)},
      {"parameter file without the selection record", title + "1 2 50 5 20 0 0\n", good_data,
       normal_answers, 2, read_error(past_end, 3)},
      {"selection list cut short", title + "1 2 50 5 20 0 0\n2 40\n101 102\n", good_data,
       normal_answers, 2, read_error(past_end, 3)},
      {"empty parameter file", "", good_data, normal_answers, 2, read_error(past_end, 3)},
      {"empty data file", p, "", normal_answers, 2, read_error(past_end, 4)},
      {"binary data file", p, binary, normal_answers, 2, read_error(illegal, 4)},
      {"binary parameter file", binary, good_data, normal_answers, 2, read_error(illegal, 3)},
      {"NUL byte in a numeric field", p, nul_in_number, normal_answers, 2, read_error(illegal, 4)},
  });
}

TEST(BadInput, InputTheRowsCannotHoldEndsWithExitCodeOne) {
  std::string list = "1 600\n";
  for (int32_t k = 0; k < 600; ++k) list += std::to_string(100 + k) + (k % 18 == 17 ? "\n" : " ");
  run_cases({
      {"501 accepted planes",
       title + "1 2 50 5 20 1 0\n0 0\n",
       many_planes(501),
       normal_answers,
       1,
       {"THE DATA FILE HOLDS MORE THAN 500 PLANES TO INVERT: THE RUN STOPS"}},
      {"selection count of 600 with its list",
       title + "1 2 50 5 20 0 0\n" + list,
       good_data,
       normal_answers,
       1,
       {"THE PARAMETER FILE SELECTS MORE THAN 500 DATA NUMBERS: THE RUN STOPS"}},
  });
}

TEST(BadInput, LegalButUnusualInputRunsNormally) {
  // Field values the columns allow but no measurement has.
  // The second block has no c-axis of its own: its plane goes with the last one read.
  Lines odd = {block_header(1, -999, 9999, 720),
               data_record(-99, -9, 'D', -99, 1, ' '),
               data_record(360, 99, 'D', 999, 1, 'X'),
               data_record(0, 0, ' ', 0, 1, 'N'),
               data_record(-5, 90, ' ', 0, 2, ' '),
               data_record(359, -1, 'Q', 0, 2, 'T'),
               data_record(361, 0, ' ', 0, 0, ' '),
               block_header(0, 0, 0, 0),
               data_record(10, 10, ' ', 0, 4, 'N'),
               data_record(401, 0, ' ', 0, 0, ' '),
               block_header(0, 0, 0, 0),
               data_record(10, 10, ' ', 0, 5, ' '),
               data_record(20, 20, ' ', 0, 5, 'T'),
               data_record(402, 0, ' ', 0, 0, ' ')};
  const std::string megabyte(1 << 20, 'M');
  std::string long_data = good_data;
  long_data.insert(good_data.find('\n', good_data.find("  268")), std::string(1 << 20, 'z'));
  std::string nul_title = title;
  nul_title[2] = '\0';
  std::string nul_letters = good_data;
  nul_letters[good_data.find("  332") + 29] = '\0';  // the code letter: a twinned plane

  const std::string p = title + short_run;
  run_cases({
      {"directions and plunges out of range", p, joined(odd), normal_answers, 0, {}},
      {"exactly 500 accepted planes",
       title + "1 2 50 5 20 1 0\n0 0\n",
       many_planes(500),
       normal_answers,
       0,
       {}},
      {"title line of 1 MB",
       megabyte + "\n" + title.substr(title.find('\n') + 1) + short_run,
       good_data,
       normal_answers,
       0,
       {}},
      {"data record of 1 MB", p, long_data, normal_answers, 0, {}},
      {"NUL bytes in the text lines and a code letter",
       nul_title + short_run,
       nul_letters,
       normal_answers,
       0,
       {}},
      {"console answer of 1 MB to the pause",
       p,
       good_data,
       megabyte + "\nparams.txt\ndata.txt\nreport.txt\n",
       0,
       {}},
      {"file name followed by 1 MB of blanks",
       p,
       good_data,
       "\nparams.txt" + std::string(1 << 20, ' ') + "\ndata.txt\nreport.txt\n",
       0,
       {}},
      {"Windows line ends",
       crlf(title_lines()) + "1 2 50 5 20 0 0\r\n0 0\r\n",
       crlf(two_grains()),
       normal_answers,
       0,
       {}},
  });
}

TEST(BadInput, ConsoleAnswersThatRunOutEndTheRun) {
  const std::string p = title + short_run;
  const std::vector<std::string> report = read_error(past_end, 5);
  run_cases({
      {"no answer at all", p, good_data, "", 2, report},
      {"only the pause answered", p, good_data, "\n", 2, {"PARAMETERS file name", report[1]}},
      {"no report file named",
       p,
       good_data,
       "\nparams.txt\ndata.txt\n",
       2,
       {"OUTPUT file name", report[1]}},
      // Each failed open is followed by a pause that takes an answer of its own.
      {"files that cannot be opened",
       p,
       good_data,
       "\nmissing.txt\n\nnone/such\n\n",
       2,
       {"COULD NOT OPEN FILE missing.txt", "COULD NOT OPEN FILE none/such", "PARAMETERS file name",
        report[1]}},
      {"a folder named as the data file",
       p,
       good_data,
       "\nparams.txt\n.\n",
       2,
       {"COULD NOT OPEN FILE", report[1]}},
  });
}

}  // namespace
