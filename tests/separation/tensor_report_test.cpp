// SPDX-License-Identifier: GPL-3.0-or-later
// The report of a further tensor is written as the run writes its own: on the run's own
// planes, seed and share it gives the run's report from the counts to the last chart.
#include <gtest/gtest.h>

#include "gemino/example_rows.h"
#include "separation/tensor_report.h"

namespace {

TEST(TensorReport, IsTheRunsReportFromTheCountsOnForTheRunsOwnPlanes) {
  const std::vector<gemino::PlaneRow>& rows = gemino_test::example_rows();
  separation::Tensor tensor;
  tensor.rows = rows;
  tensor.seed = 10;  // the example's seed, share 100 %, 200 trials, 900 steps
  const std::optional<std::string> text =
      separation::tensor_report(gemino::shared_state(), tensor, 100, 200, 900);
  ASSERT_TRUE(text.has_value());
  const std::string golden = gemino_test::slurp(GEMINO_TEST_DATA "/example-report.txt");
  const std::string from = " NOMBRE DE MACLES";
  const std::size_t g = golden.find(from);
  const std::size_t t = text->find(from);
  ASSERT_NE(g, std::string::npos);
  ASSERT_NE(t, std::string::npos);
  EXPECT_EQ(text->substr(t), golden.substr(g));
  // Two separators before the counts, as in the run's report (after the parameters and
  // after the listing).
  const auto separators = [](const std::string& s, std::size_t end) {
    int32_t n = 0;
    for (std::size_t at = s.find("*****"); at < end;
         at = s.find("\n", at), at = s.find("*****", at)) {
      ++n;
    }
    return n;
  };
  EXPECT_EQ(separators(*text, t), separators(golden, g));
  // Before the counts: the run's ten text lines, as its report gives them.
  const std::size_t text_lines = golden.find("    1 200 100  10 900");
  ASSERT_NE(text_lines, std::string::npos);
  EXPECT_EQ(text->substr(0, text_lines), golden.substr(0, text_lines));
  EXPECT_EQ(text->substr(text_lines, 23), "    1 200 100  10 900 1");
}

}  // namespace
