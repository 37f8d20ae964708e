// SPDX-License-Identifier: GPL-3.0-or-later
// Parsing formats: repeats, quotes and tabs parse as written, malformed ones are refused.
#include <gtest/gtest.h>

#include <string>

#include "recfmt/format.h"

namespace recfmt {
namespace {

using Kind = Format::Node::Kind;

TEST(FormatParse, RepeatsUnrollAndQuotesKeepTheirText) {
  const Format f("(2X,3(I2,'a''b'),97A1, tl3 ,tr2,t7,e11.4,f6.3,l2,a,/)");
  const auto& n = f.nodes();
  ASSERT_EQ(n.size(), 1u + 6u + 97u + 8u);
  EXPECT_EQ(n[0].kind, Kind::Skip);
  EXPECT_EQ(n[0].width, 2);
  EXPECT_EQ(n[1].kind, Kind::Integer);
  EXPECT_EQ(n[2].kind, Kind::Literal);
  EXPECT_EQ(n[2].text, "a'b");
  EXPECT_EQ(n[6].text, "a'b");
  EXPECT_EQ(n[7].kind, Kind::Alpha);
  EXPECT_EQ(n[7].width, 1);
  EXPECT_EQ(n[104].kind, Kind::TabLeft);
  EXPECT_EQ(n[105].kind, Kind::Skip);
  EXPECT_EQ(n[106].kind, Kind::Tab);
  EXPECT_EQ(n[106].width, 7);
  EXPECT_EQ(n[107].kind, Kind::Exponent);
  EXPECT_EQ(n[107].decimals, 4);
  EXPECT_EQ(n[108].kind, Kind::Fixed);
  EXPECT_EQ(n[109].kind, Kind::Logical);
  EXPECT_EQ(n[110].width, -1);
  EXPECT_EQ(n[111].kind, Kind::Slash);
  // The only top-level group opens at node 1.
  EXPECT_EQ(f.reversion_start(), 1);
  EXPECT_EQ(Format("(I2,2(I1),1X,3(1X,2(I1)))").reversion_start(), 4);
  EXPECT_EQ(Format("(I2)").reversion_start(), 0);
}

TEST(FormatParse, MalformedFormatsAreRefused) {
  const char* bad[] = {
      "",          "I3",
      "(I3",       "(I3))",
      "((I3)",     "(I3,)",
      "(,I3)",     "(I3 I4)",
      "(Q3)",      "(F6)",
      "(F6.)",     "(E11)",
      "(I)",       "(I0)",
      "(L)",       "(T)",
      "(TL)",      "(3T5)",
      "('abc)",    "(3'ab')",
      "(A0)",      "(I3,,I4)",
      "(2(I3)",    "(I3) x",
      "(I999999)", "(99999(99999(A1)))",
      "(F6.3.2)",  "711(1X,A80)",
  };
  for (const char* text : bad) {
    EXPECT_THROW(Format{text}, FormatError) << text;
  }
  // Deep nesting is refused before it can exhaust the stack.
  const std::string deep = std::string(100000, '(') + "I1" + std::string(100000, ')');
  EXPECT_THROW(Format{deep}, FormatError);
  EXPECT_NO_THROW(Format("(((((I1)))))"));
}

}  // namespace
}  // namespace recfmt
