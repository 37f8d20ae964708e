// SPDX-License-Identifier: GPL-3.0-or-later
// The format tables: every format the program reads or writes with parses again from its
// text into the same edit descriptors.
#include <gtest/gtest.h>

#include "gemino/formats.h"
#include "gral/formats.h"

namespace {

TEST(FormatTable, EveryFormatOfTheProgramParses) {
  for (const auto table : {gral::formats::table(), gemino::formats::table()}) {
    for (const recfmt::NamedFormat& entry : table) {
      const recfmt::Format again(entry.format.text());
      EXPECT_EQ(again.nodes().size(), entry.format.nodes().size()) << entry.name;
      EXPECT_FALSE(again.nodes().empty()) << entry.name;
    }
  }
}

}  // namespace
