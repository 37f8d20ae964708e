// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter file: ten text lines, the run parameters and the selection, echoed to
// the report, and exactly the records they take.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "gemino/io_files.h"
#include "gemino/parameters.h"
#include "gemino/state.h"
#include "recfmt/statements.h"
#include "recfmt/units.h"
#include "support/fake_console.h"

namespace {

using gemino_test::Lines;

using gemino_test::blank;
using gemino_test::stars;

Lines title_block() {
  return {"TITLE LINE", "",  std::string(60, 'a') + std::string(40, 'b'), "4", "5", "6", "7", "8",
          "9",          "10"};
}

class ParameterFile : public gemino_test::StateWithFiles {
 protected:
  void open_files(const Lines& params) {
    read_from(3, "params.txt", params);
    open_report();
  }
  // The record the start points would read next.
  void expect_starting_state_next() {
    int32_t d1 = 0, q1 = 0, d3 = 0, q3 = 0;
    float r = 0.0f;
    recfmt::read_list(3, {d1, q1, d3, q3, r});
    EXPECT_EQ(d1, 120);
    EXPECT_EQ(q1, 30);
    EXPECT_EQ(d3, 300);
    EXPECT_EQ(q3, 60);
    EXPECT_EQ(r, 0.5f);
  }
  // Reads a parameter file of the title block and `records`; the starting state must
  // then be the next record.
  void read_parameters(const Lines& records) {
    Lines params = title_block();
    params.insert(params.end(), records.begin(), records.end());
    open_files(params);
    gemino::copy_text_lines(*s);
    gemino::read_run_parameters(*s);
    expect_starting_state_next();
  }
};

TEST_F(ParameterFile, TextRunParametersAndKeptListOnTwoRecords) {
  read_parameters({"4 6 75 1234 120 0 1", "2 20",
                   "  1   2 302   5 605   7   8   9 101 401 103 104 405 106 107 108 109 110 ",
                   "710   3", "120 30 300 60 0.5"});

  const Lines expected = {
      " TITLE LINE" + std::string(70, ' '),
      std::string(81, ' '),
      " " + std::string(60, 'a') + std::string(20, 'b'),  // cut at 80 characters
      " 4" + std::string(79, ' '),
      " 5" + std::string(79, ' '),
      " 6" + std::string(79, ' '),
      " 7" + std::string(79, ' '),
      " 8" + std::string(79, ' '),
      " 9" + std::string(79, ' '),
      " 10" + std::string(78, ' '),
      "    4   6  75 *** 120 0",  // the seed overflows its three columns; no debug flag
      blank,
      stars,
      blank,
      "         SEULES LES DONNEES SUIVANTES SONT CONSERVEES",
      "   1   2 302   5 605   7   8   9 101 401 103 104 405 106 107 108 109 110 710   3",
  };
  EXPECT_EQ(report(), expected);

  EXPECT_EQ(s->start_mode, 4);
  EXPECT_EQ(s->trial_count, 6);
  EXPECT_EQ(s->twin_percent, 75);
  EXPECT_EQ(s->seed, 1234);
  EXPECT_EQ(s->iteration_limit, 120);
  EXPECT_EQ(s->quiet_listing, 0);
  EXPECT_EQ(s->debug_flag, 1);
  EXPECT_EQ(s->selection_mode, 2);
  ASSERT_EQ(s->selection_count, 20);
  EXPECT_EQ(s->selection_list[2], 302);
  EXPECT_EQ(s->selection_list[17], 110);
  EXPECT_EQ(s->selection_list[18], 710);
  EXPECT_EQ(s->selection_list[19], 3);
}

TEST_F(ParameterFile, NoSelectionReadsNoListWhateverTheCount) {
  read_parameters({"1 30 80 12345 400 1 0", "0 3", "120 30 300 60 0.5"});
  const Lines r = report();
  ASSERT_EQ(r.size(), 14u);
  EXPECT_EQ(r[10], "    1  30  80 *** 400 1");
  EXPECT_EQ(r[13], blank);
}

TEST_F(ParameterFile, RemovalWithAnEmptyListStillTakesOneRecord) {
  read_parameters({"2 5 70 777 500 0 0", "1 0", "  5   6", "120 30 300 60 0.5"});
  const Lines r = report();
  ASSERT_EQ(r.size(), 16u);
  EXPECT_EQ(r[10], "    2   5  70 777 500 0");
  EXPECT_EQ(r[14], "         LES DONNEES SUIVANTES SONT RETIREES");
  EXPECT_EQ(r[15], blank);
  EXPECT_EQ(s->selection_count, 0);
}

TEST_F(ParameterFile, ListLongerThanTheSelectionHoldsStopsTheRun) {
  test_support::FakeConsole console;
  Lines params = title_block();
  params.push_back("1 5 80 1 100 0 0");
  params.push_back("3 501");
  for (int32_t k = 0; k < 28; ++k) params.push_back(std::string(72, '1'));
  open_files(params);
  gemino::copy_text_lines(*s);
  EXPECT_EQ(test_support::exit_code_of([&] { gemino::read_run_parameters(*s); }), 1);
  const Lines console_lines = console.lines();
  ASSERT_EQ(console_lines.size(), 1u);
  EXPECT_NE(console_lines[0].find("MORE THAN 500 DATA NUMBERS"), std::string::npos);
  EXPECT_EQ(s->selection_list[0], 0);  // nothing was read into the list
}

TEST_F(ParameterFile, FiveHundredListedNumbersFit) {
  Lines records = {"1 5 80 1 100 1 0", "1 500"};
  for (int32_t k = 0; k < 28; ++k) {
    std::string line;
    for (int32_t j = 0; j < 18; ++j) line += "  7 ";
    records.push_back(line);
  }
  records.push_back("120 30 300 60 0.5");
  read_parameters(records);
  EXPECT_EQ(s->selection_list[499], 7);
  // Twenty lines of 25 numbers.
  EXPECT_EQ(report().size(), 15u + 20u);
}

}  // namespace
