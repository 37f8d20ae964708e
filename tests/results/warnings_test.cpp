// SPDX-License-Identifier: GPL-3.0-or-later
// The warnings of a result: each reason that nothing constrains the tensor, at the bounds
// of the share of twins counted, and none for a sound run.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "results/result_model.h"
#include "results/round_trip.h"

namespace {

TEST(ResultWarnings, SayWhenNothingConstrainsTheTensor) {
  // The example holds 54 twinned planes.
  const struct {
    int32_t percent;
    const char* says;  // empty: no warning
  } cases[] = {
      {100, ""},
      {2, ""},  // 1 of 54
      {1, "counts none of them"},
      {0, "outside 1 to 100"},
      {101, "outside 1 to 100"},
      {150, "outside 1 to 100"},
  };
  for (const auto& c : cases) {
    gemino_test::ScratchDir dir;
    std::string params = gemino_test::slurp(GEMINO_EXAMPLES "/params.txt");
    const std::string run_line = "1 200 100 10 900 0 0";
    const std::size_t at = params.find(run_line);
    ASSERT_NE(at, std::string::npos);
    params.replace(at, run_line.size(), "1 200 " + std::to_string(c.percent) + " 10 900 0 0");
    test_support::put(dir.file("params.txt"), params);
    std::filesystem::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
    ASSERT_EQ(results_test::run_in(dir), 0) << c.percent;
    const results::Result r = results::build_result(gemino::shared_state());
    if (std::string(c.says).empty()) {
      EXPECT_TRUE(r.warnings.empty()) << c.percent << ": " << r.warnings.front();
      continue;
    }
    ASSERT_FALSE(r.warnings.empty()) << c.percent;
    EXPECT_NE(r.warnings.front().find(c.says), std::string::npos)
        << c.percent << ": " << r.warnings.front();
  }
}

}  // namespace
