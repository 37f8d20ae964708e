// SPDX-License-Identifier: GPL-3.0-or-later
// Date and time texts from a fixed clock, and the system description.
#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "gral/clock.h"
#include "gral/hostname.h"
#include "recfmt/items.h"

namespace {

gral::LocalTime fixed;
gral::LocalTime fixed_source() {
  return fixed;
}

TEST(Clock, TextsFromAFixedClock) {
  struct Case {
    gral::LocalTime t;
    std::string time8, date10;
  };
  const Case cases[] = {
      {{2011, 3, 4, 14, 5, 9, 0}, "14:05:09", "2011-03-04"},
      {{1999, 12, 31, 9, 5, 7, 999}, "09:05:07", "1999-12-31"},  // fraction dropped
      {{2026, 1, 1, 0, 0, 0, 500}, "00:00:00", "2026-01-01"},
      {{987, 10, 9, 23, 59, 59, 1}, "23:59:59", "0987-10-09"},
  };
  gral::set_time_source(fixed_source);
  for (const Case& k : cases) {
    fixed = k.t;
    recfmt::Text<8> c8("garbage!");
    recfmt::Text<10> c10("garbage!!!");
    gral::c8time(c8);
    gral::c10date(c10);
    EXPECT_EQ(std::string(c8.view()), k.time8);
    EXPECT_EQ(std::string(c10.view()), k.date10);
  }
  gral::set_time_source(nullptr);
}

TEST(Clock, SystemClockGivesWellFormedTexts) {
  recfmt::Text<8> c8;
  recfmt::Text<10> c10;
  gral::c8time(c8);
  gral::c10date(c10);
  const std::string t(c8.view()), d(c10.view());
  for (std::size_t i : {0u, 1u, 3u, 4u, 6u, 7u}) EXPECT_TRUE(std::isdigit(t[i])) << t;
  EXPECT_EQ(t[2], ':');
  EXPECT_EQ(t[5], ':');
  for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u}) EXPECT_TRUE(std::isdigit(d[i])) << d;
  EXPECT_EQ(d[4], '-');
  EXPECT_EQ(d[7], '-');
  EXPECT_LE(std::stoi(t.substr(0, 2)), 23);
  EXPECT_GE(std::stoi(d.substr(5, 2)), 1);
  EXPECT_LE(std::stoi(d.substr(5, 2)), 12);
}

TEST(Hostname, PaddedOrCutToTheVariable) {
  const std::string_view d = gral::system_description();
#if defined(__linux__) && defined(__x86_64__)
  EXPECT_EQ(d, "LinuxOS-x86_64");
#endif
  recfmt::Text<25> wide;
  gral::hostname(wide.span());
  EXPECT_EQ(std::string(wide.view()), std::string(d) + std::string(25 - d.size(), ' '));
  recfmt::Text<5> narrow;
  gral::hostname(narrow.span());
  EXPECT_EQ(narrow.view(), d.substr(0, 5));
}

}  // namespace
