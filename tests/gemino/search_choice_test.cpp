// SPDX-License-Identifier: GPL-3.0-or-later
// The run's choice of search: the names of the modes, the sentence that says the report's
// tensor is not the best found, and the driver reporting the search it is given.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <string>

#include "gemino/driver_in_process.h"
#include "gemino/example_rows.h"
#include "gemino/search_choice.h"

namespace {

TEST(SearchMode, NamesTable) {
  const struct {
    const char* name;
    std::optional<gemino::SearchMode> mode;
  } table[] = {{"classic", gemino::SearchMode::classic},
               {"converged", gemino::SearchMode::converged},
               {"Converged", std::nullopt},
               {"converged ", std::nullopt},
               {"", std::nullopt},
               {"classi", std::nullopt}};
  for (const auto& row : table) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(gemino::search_mode_named(row.name), row.mode);
    if (row.mode) {
      EXPECT_STREQ(gemino::search_mode_name(*row.mode), row.name);
    }
  }
}

TEST(SearchMode, NotBestOnlyBeyondTheTolerance) {
  gemino::ConvergedResult search;
  search.best.objective_reported = 1.0f;
  const float tolerance = 0.25f;  // exact in float: the boundary is exactly 1.25
  const struct {
    float report;
    bool said;
  } table[] = {{0.5f, false}, {1.0f, false}, {1.25f, false}, {1.2500001f, true}, {3.5f, true}};
  for (const auto& row : table) {
    SCOPED_TRACE(row.report);
    const std::string text = gemino::not_best_text(row.report, search, tolerance);
    EXPECT_EQ(!text.empty(), row.said);
  }
  EXPECT_EQ(gemino::not_best_text(3.5f, search, tolerance),
            "the report's tensor is not the best found: objective 3.5000, a converged search "
            "reached 1.0000");
}

TEST(SearchMode, StatusBarTable) {
  gemino::ConvergedResult search;
  search.best.objective_reported = 1.0f;
  const float tolerance = 0.25f;
  const struct {
    gemino::SearchMode mode;
    float report;
    const char* said;
  } table[] = {
      {gemino::SearchMode::classic, 1.25f, ""},
      {gemino::SearchMode::classic, 0.5f, ""},
      {gemino::SearchMode::classic, 3.5f, "not the best found: 3.50 > 1.00 (Search menu)"},
      {gemino::SearchMode::converged, 1.0f, "report from the converged search"},
  };
  for (const auto& row : table) {
    SCOPED_TRACE(row.report);
    EXPECT_EQ(gemino::search_status_text(row.mode, row.report, search, tolerance), row.said);
  }
}

// The driver asks for the search once the rows are read, and reports the one it is given:
// the same tensors as the inversion of those rows with start mode 1, that seed and share.
TEST(SearchMode, DriverReportsTheSearchItIsGiven) {
  const auto& rows = gemino_test::example_rows();
  gemino_test::ScratchDir dir;
  std::filesystem::copy_file(GEMINO_EXAMPLES "/params.txt", dir.file("params.txt"));
  std::filesystem::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.file(""));
  int32_t rows_seen = -1;
  const gemino::ChooseSearch choose = [&rows_seen](const gemino::State& s) {
    rows_seen = s.data_count;
    return std::optional<gemino::SearchOverride>(gemino::SearchOverride{12345, 80});
  };
  int32_t code = 0;
  {
    test_support::FakeConsole console({"", "params.txt", "data.txt", "report.txt"});
    code = recfmt::run_program([&choose] { gemino::run_driver(gemino::shared_state(), choose); });
  }
  std::filesystem::current_path(before);
  ASSERT_EQ(code, 0);
  EXPECT_EQ(rows_seen, static_cast<int32_t>(rows.size()));
  const gemino::State& s = gemino::shared_state();

  gemino::InversionOptions options;
  options.start_mode = 1;
  options.trial_count = s.trial_count;
  options.twin_percent = 80;
  options.seed = 12345;
  options.iteration_limit = s.iteration_limit;
  const gemino::InversionResult expected = gemino::invert(rows, options);
  ASSERT_EQ(expected.status, gemino::InversionStatus::done);
  EXPECT_EQ(std::memcmp(s.record.final.params, expected.final.tensor.params,
                        sizeof s.record.final.params),
            0);
  EXPECT_EQ(s.record.final.threshold, expected.final.tensor.threshold);
  EXPECT_EQ(s.record.start.objective, expected.start.tensor.objective);
  EXPECT_EQ(s.twin_limit, expected.twin_limit);
  // What the parameter file asked for stays on record.
  EXPECT_EQ(s.record.seed, 10);
}

}  // namespace
