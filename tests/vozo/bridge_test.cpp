// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/bridge.h"

#include <gtest/gtest.h>

#include "fake_view.h"
#include "vozo/console_state.h"

namespace vozo {
namespace {

TEST(WindowAccess, SizeComesFromTheTwoFieldsAfterTheCommas) {
  struct Case {
    const char* access;
    bool use_default;
    int32_t width, height;
  };
  const Case cases[] = {
      {"WINDOW,600,300", false, 600, 300},
      {"WINDOW,600", true, 0, 0},
      {"WINDOW,600,3x0", true, 0, 0},
      {"WINDOW, 6 0 0 , 300", false, 600, 300},
      {"WINDOW,600,300,", true, 0, 0},
      {"WINDOW", true, 0, 0},
      {"WINDOW,,300", true, 0, 0},
      {"WINDOW,0,300", true, 0, 0},
      {"WINDOW,600,300                    ", false, 600, 300},
      {"WINDOW,-600,300", true, 0, 0},
      {"WINDOW,99999999999,300", true, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.access);
    const WindowSize size = parse_window_access(c.access);
    EXPECT_EQ(size.use_default, c.use_default);
    EXPECT_EQ(size.width, c.width);
    EXPECT_EQ(size.height, c.height);
  }
}

TEST(WindowAccess, OnlyTheFirstHundredCharactersCount) {
  // The height lies beyond the hundredth character: what is left of it is blank.
  const std::string access = "WINDOW,600," + std::string(89, ' ') + "300";
  EXPECT_TRUE(parse_window_access(access).use_default);
  EXPECT_EQ(parse_window_access("WINDOW,600," + std::string(88, ' ') + "300").height, 3);
  EXPECT_EQ(parse_window_access("WINDOW,600," + std::string(86, ' ') + "300").height, 300);
}

class UnitTable : public ::testing::Test {
 protected:
  testing::FakeView view;
  ConsoleState console{view};
  ConsoleState unit_window{view};
  UnitWindowTable table;
};

TEST_F(UnitTable, EveryStandardUnitFindsTheDefaultConsole) {
  ASSERT_TRUE(table.register_unit(default_console_unit));
  table.attach_last(&console);
  ASSERT_TRUE(table.register_unit(7));
  table.attach_last(&unit_window);
  for (int32_t id : {-2, -3, -4, -3, -2}) {
    SCOPED_TRACE(id);
    EXPECT_EQ(table.lookup(id), &console);
    EXPECT_EQ(table.unit_at(1), id);
  }
  EXPECT_EQ(table.lookup(7), &unit_window);
  EXPECT_EQ(table.lookup(8), nullptr);
  EXPECT_EQ(table.unit_at(1), -2);  // positive ids leave entry 1 alone
}

TEST_F(UnitTable, ClosedWindowsAndWindowlessUnitsFindNothing) {
  table.register_unit(default_console_unit);
  table.attach_last(&console);
  table.register_unit(0);  // registered, but no window is opened for it
  table.register_unit(7);
  table.attach_last(&unit_window);
  EXPECT_EQ(table.lookup(0), nullptr);
  table.detach(&unit_window);
  EXPECT_EQ(table.lookup(7), nullptr);
  EXPECT_EQ(table.lookup(-3), &console);
  table.detach(&console);
  EXPECT_EQ(table.lookup(-3), nullptr);
  EXPECT_EQ(table.count(), 3);  // entries are never reused
}

TEST_F(UnitTable, TheHundredAndFirstRegistrationIsRefused) {
  ASSERT_TRUE(table.register_unit(default_console_unit));
  for (int32_t unit = 10; unit < 10 + 99; ++unit) ASSERT_TRUE(table.register_unit(unit));
  EXPECT_TRUE(table.full());
  EXPECT_FALSE(table.register_unit(500));
  EXPECT_EQ(table.count(), 100);
  EXPECT_EQ(table.unit_at(100), 108);
  EXPECT_EQ(table.lookup(500), nullptr);
}

TEST(EndFlagTest, ProgramEndRunsOnce) {
  EndFlag flag;
  EXPECT_FALSE(flag.ended());
  EXPECT_TRUE(flag.mark_ended());
  EXPECT_FALSE(flag.mark_ended());
  EXPECT_TRUE(flag.ended());
}

}  // namespace
}  // namespace vozo
