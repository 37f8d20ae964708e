// SPDX-License-Identifier: GPL-3.0-or-later
// What the desktop program keeps between sessions: the recent runs survive a new history
// read from the same store, stay unique and bounded, and bad stored values fall back.
#include "desktop/remembered.h"

#include <gtest/gtest.h>

namespace {

using desktop::MemoryStore;
using desktop::RunFiles;
using desktop::RunHistory;

RunFiles run(int n) {
  const std::string d = "/sites/" + std::to_string(n) + "/";
  return {d + "params.txt", d + "data.txt", d + "report.txt"};
}

TEST(RunHistory, NewestFirstUniqueBoundedAndReadBack) {
  MemoryStore store;
  {
    RunHistory history(store);
    for (int n = 1; n <= RunHistory::limit + 2; ++n) history.add_run(run(n));
    history.add_run(run(5));  // again: moves to the front, not twice in the list
  }
  const RunHistory again(store);
  ASSERT_EQ(again.runs().size(), static_cast<std::size_t>(RunHistory::limit));
  EXPECT_EQ(again.runs()[0], run(5));
  EXPECT_EQ(again.runs()[1], run(RunHistory::limit + 2));
  EXPECT_EQ(again.runs().back(), run(3));  // 1 and 2 fell off the end
  EXPECT_EQ(again.last_folder(), "/sites/5/");
}

TEST(RunHistory, EntriesLeftOutAreNotReadBackLater) {
  // Three entries naming the same run (written by hand, or by another version): one is
  // kept, and after the next run the store holds two entries, not a stale third.
  MemoryStore store;
  store.set_value("runs/count", "3");
  for (const char* n : {"1", "2", "3"}) {
    for (const char* field : {"params", "data", "report"}) {
      store.set_value(std::string("runs/") + n + "/" + field, std::string(field) + ".txt");
    }
  }
  {
    RunHistory history(store);
    ASSERT_EQ(history.runs().size(), 1u);
    history.add_run(run(9));
  }
  EXPECT_EQ(store.value("runs/count").value_or(""), "2");
  EXPECT_FALSE(store.value("runs/3/params").has_value());
  const RunHistory again(store);
  ASSERT_EQ(again.runs().size(), 2u);
  EXPECT_EQ(again.runs()[0], run(9));
  EXPECT_EQ(again.runs()[1], (RunFiles{"params.txt", "data.txt", "report.txt"}));
}

TEST(RunHistory, DamagedStoresGiveWhatCanBeUsed) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> values;
    std::size_t runs;
  };
  const Case cases[] = {
      {"count not a number", {{"runs/count", "two"}}, 0},
      {"count with trailing text", {{"runs/count", "1x"}, {"runs/1/params", "p"}}, 0},
      {"count beyond the limit", {{"runs/count", "99999"}}, 0},
      {"negative count", {{"runs/count", "-3"}}, 0},
      {"entry without data file",
       {{"runs/count", "1"}, {"runs/1/params", "p"}, {"runs/1/report", "r"}},
       0},
      {"whole entry",
       {{"runs/count", "1"}, {"runs/1/params", "p"}, {"runs/1/data", "d"}, {"runs/1/report", "r"}},
       1},
      {"same entry twice",
       {{"runs/count", "2"},
        {"runs/1/params", "p"},
        {"runs/1/data", "d"},
        {"runs/1/report", "r"},
        {"runs/2/params", "p"},
        {"runs/2/data", "d"},
        {"runs/2/report", "r"}},
       1},
  };
  for (const Case& c : cases) {
    MemoryStore store;
    for (const auto& [k, v] : c.values) store.set_value(k, v);
    EXPECT_EQ(RunHistory(store).runs().size(), c.runs) << c.name;
  }
}

TEST(RunHistory, LastFolderIsTheChosenFilesFolder) {
  const std::pair<const char*, const char*> cases[] = {
      {"/home/g/site 1/data.txt", "/home/g/site 1/"},
      {"/data.txt", "/"},
      {"/home/g/sites/", "/home/g/sites/"},
      {"data.txt", "/before/"},  // a bare name leaves the folder as it was
  };
  for (const auto& [path, folder] : cases) {
    MemoryStore store;
    RunHistory history(store);
    history.remember_file("/before/x.txt");
    history.remember_file(path);
    EXPECT_EQ(history.last_folder(), folder) << path;
    EXPECT_EQ(RunHistory(store).last_folder(), folder) << path;
  }
}

TEST(StoredValues, CrssAndDpiKeepOnlyUsableValues) {
  const std::pair<const char*, double> crss[] = {
      {"12.5", 12.5}, {"1000", 1000.0}, {"1000.5", 10.0}, {"0", 10.0},
      {"-4", 10.0},   {"nan", 10.0},    {"inf", 10.0},    {"12 MPa", 10.0},
  };
  for (const auto& [text, expected] : crss) {
    MemoryStore store;
    store.set_value("results/crss_mpa", text);
    EXPECT_EQ(desktop::stored_crss(store, 10.0), expected) << text;
  }
  const std::pair<const char*, int32_t> dpi[] = {
      {"300", 300}, {"10", 10}, {"9", 150}, {"2400", 2400}, {"2401", 150}, {"3e2", 150},
  };
  for (const auto& [text, expected] : dpi) {
    MemoryStore store;
    store.set_value("figures/export_dpi", text);
    EXPECT_EQ(desktop::stored_export_dpi(store, 150), expected) << text;
  }
  // Written values read back exactly; refused ones leave the store as it was.
  MemoryStore store;
  desktop::store_crss(store, 0.1 + 0.2);
  desktop::store_crss(store, -1.0);
  EXPECT_EQ(desktop::stored_crss(store, 10.0), 0.1 + 0.2);
  desktop::store_export_dpi(store, 600);
  desktop::store_export_dpi(store, 5000);
  EXPECT_EQ(desktop::stored_export_dpi(store, 150), 600);
}

}  // namespace
