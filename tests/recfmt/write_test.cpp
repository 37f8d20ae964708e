// SPDX-License-Identifier: GPL-3.0-or-later
// Formatted and list-directed writes on the console: every record is compared with a
// hand-worked text in which "|" marks the record end, so trailing blanks show.
#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "support/fake_console.h"

namespace recfmt {
namespace {

// The console output with every CR LF shown as "|".
std::string records(const std::string& out) {
  std::string s;
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (out[i] == '\r' && i + 1 < out.size() && out[i + 1] == '\n') {
      s.push_back('|');
      ++i;
    } else {
      s.push_back(out[i]);
    }
  }
  return s;
}

std::string written(std::string_view format, std::vector<Out> items) {
  test_support::FakeConsole console;
  write(6, Format(format), std::span<const Out>(items));
  return records(console.output());
}

std::string listed(std::initializer_list<Out> items) {
  test_support::FakeConsole console;
  write_list(6, items);
  return records(console.output());
}

struct WriteCase {
  const char* format;
  std::vector<Out> items;
  const char* expected;
};

TEST(FormattedWrite, NumericFieldsRoundAndOverflow) {
  const std::vector<WriteCase> cases = {
      {"(F6.3)", {0.123f}, " 0.123|"},
      {"(F6.3)", {-0.123f}, "-0.123|"},
      {"(F6.3)", {-12.345f}, "******|"},
      {"(F6.3)", {-0.0004f}, " 0.000|"},
      {"(F6.3)", {-0.0f}, " 0.000|"},
      {"(F5.0)", {12.5f}, "  13.|"},
      {"(F7.0)", {37.0f}, "    37.|"},
      {"(F3.0)", {0.5f}, " 1.|"},
      {"(F5.4)", {0.1234f}, ".1234|"},
      {"(F6.4)", {0.1234f}, "0.1234|"},
      {"(F4.1)", {9.99f}, "10.0|"},
      {"(F3.1)", {9.99f}, "***|"},
      {"(F4.1)", {-0.05f}, "-0.1|"},
      {"(F5.1)", {-0.04f}, "  0.0|"},
      // Only eight digits come from the value; further digits are 0.
      {"(F10.4)", {12345.6787f}, "12345.6780|"},
      {"(F16.2)", {123456789.0f}, "    123456790.00|"},
      {"(F10.7)", {1.3f}, " 1.2999999|"},
      {"(F4.1)", {1.3f}, " 1.3|"},
      {"(F10.4)", {0.1f}, "    0.1000|"},
      {"(F12.10)", {0.1f}, "0.1000000000|"},
      {"(F6.2)", {1.0e-30f}, "  0.00|"},
      {"(F3.0)", {-0.4f}, " 0.|"},
      {"(F12.1)", {1.0e10f}, "************|"},
      {"(F14.1)", {1.0e10f}, " 10000000000.0|"},
      {"(E11.4)", {1234.5f}, " 0.1235E+04|"},
      {"(E10.4)", {-1234.5f}, "-.1235E+04|"},
      {"(E9.4)", {1234.5f}, ".1235E+04|"},
      {"(E8.4)", {1234.5f}, "********|"},
      {"(E11.4)", {0.0f}, " 0.0000E+00|"},
      {"(E11.4)", {-0.0f}, " 0.0000E+00|"},
      {"(E11.4)", {0.99999f}, " 0.1000E+01|"},
      {"(E12.4)", {-1.5e-20f}, " -0.1500E-19|"},
      // At the edge of the field: the carry of the rounding decides the overflow.
      {"(F5.2)", {99.995f}, "*****|"},
      {"(F6.2)", {99.995f}, "100.00|"},
      {"(F5.2)", {9.995f}, " 9.99|"},
      {"(F5.2)", {-9.99f}, "-9.99|"},
      {"(F4.2)", {-0.5f}, "-.50|"},
      {"(F4.2)", {0.5f}, "0.50|"},
      {"(I2)", {-9}, "-9|"},
      {"(I2)", {-10}, "**|"},
      {"(I3)", {1000}, "***|"},
      {"(I4)", {-999}, "-999|"},
      {"(I3)", {-100}, "***|"},
      {"(I1)", {0}, "0|"},
      {"(I11)", {INT32_MIN}, "-2147483648|"},
      {"(I12)", {INT32_MAX}, "  2147483647|"},
      // Infinity and not-a-number have no digits: the field is asterisks, however wide.
      {"(F10.3)", {-std::numeric_limits<float>::infinity()}, "**********|"},
      {"(E12.4)", {std::numeric_limits<float>::quiet_NaN()}, "************|"},
  };
  for (const WriteCase& c : cases) {
    EXPECT_EQ(written(c.format, c.items), c.expected) << c.format;
  }
}

TEST(FormattedWrite, RecordsAndPositioning) {
  const std::string ten = "0123456789";
  const Text<80> line(ten);
  std::vector<Out> letters;
  std::string tail;
  for (int i = 0; i < 97; ++i) {
    static const char* abc = "abcdefghijklmnopqrstuvwxyz";
    letters.emplace_back(std::string_view(abc + i % 26, 1));
    tail.push_back(abc[i % 26]);
  }
  const Text<2> ab("AB");
  const std::vector<WriteCase> cases = {
      {"(1X,A80)",
       {line},
       " 0123456789                                                                      |"},
      {"('1','?',T5,97A1)", letters, ""},  // checked below
      {"(x,a,x,l2)", {ab, Logical{1}}, " AB  T|"},
      {"(x,a,x,l2)", {ab, Logical{0}}, " AB  F|"},
      {"(/T5,'ROTATION DES AXES'/)", {}, "|    ROTATION DES AXES||"},
      {"(/,T10,'***',/)", {}, "|         ***||"},
      {"(5(x,a))", {"A", "BC"}, " A BC|"},
      {"(T6,'X(I)=',T11,15(F9.4,1X)//)", {1.5f, -2.25f}, "     X(I)=   1.5000   -2.2500|"},
      {"(14(1X,F7.3,1X))", {1.0f, 2.0f}, "   1.000    2.000|"},
      {"(T5,I1,1X,4(I3,1X),I1)", {1, 100, 50, 1000, 200, 0}, "    1 100  50 *** 200 0|"},
      {"(A4)", {"ABCDEF"}, "ABCD|"},
      {"(A6)", {"ABC"}, "   ABC|"},
      {"('ABCDEF',T3,'x',TL2,'y')", {}, "AyxDEF|"},
      {"('AB',TL5,'c',TR2,'d')", {}, "cB d|"},
      {"('it''s',2X)", {}, "it's|"},
      {"(a,1x)", {""}, "|"},
      {"(2(a2,':'),a2)", {"12", "34", "56"}, "12:34:56|"},
      {"(a4,2('-',a2))", {"2011", "03", "04"}, "2011-03-04|"},
  };
  for (const WriteCase& c : cases) {
    if (*c.expected == '\0') continue;
    EXPECT_EQ(written(c.format, c.items), c.expected) << c.format;
  }
  EXPECT_EQ(written("('1','?',T5,97A1)", letters), "1?  " + tail + "|");
}

TEST(FormattedWrite, ReversionRestartsAtLastTopLevelGroup) {
  std::vector<Out> sixteen;
  for (int i = 1; i <= 16; ++i) sixteen.emplace_back(i);
  EXPECT_EQ(written("(14(1X,I4))", sixteen),
            "    1    2    3    4    5    6    7    8    9   10   11   12   13   14|"
            "   15   16|");
  // No group: the whole format again, text included.
  EXPECT_EQ(written("('V=',I2)", {1, 2, 3}), "V= 1|V= 2|V= 3|");
  // The last top-level group with its own repeat count, not the first group.
  EXPECT_EQ(written("('H',2(I1),' ',2(I2))", {1, 2, 3, 4, 5, 6, 7}), "H12  3 4| 5 6| 7|");
  // Nested groups: reversion to the outer one of the last top-level group.
  EXPECT_EQ(written("(I1,2(1X,2(I1)))", {1, 2, 3, 4, 5, 6, 7}), "1 23 45| 67|");
}

TEST(FormattedWrite, ListExhaustedStopsAtNextDataDescriptor) {
  // The text after the last item is written, the text after the next data one is not.
  EXPECT_EQ(written("(I2,' A',I2,' B')", {7}), " 7 A|");
  EXPECT_EQ(written("(I2,' A',I2,' B')", {7, 8}), " 7 A 8 B|");
  // Items exhausted exactly at the end: no empty record follows.
  EXPECT_EQ(written("(2I2)", {1, 2, 3, 4}), " 1 2| 3 4|");
  EXPECT_EQ(written("(2I2)", {}), "|");
}

TEST(ListWrite, LeadingBlankAndSixDigitReals) {
  EXPECT_EQ(listed({"call optimisation with f1 = ", 1.97536f, " x = ", -1.5708f, -0.523599f,
                    -1.0472f, 0.87903f}),
            " call optimisation with f1 =   1.97536  x =  -1.57080 -0.523599 -1.04720  0.879030|");
  EXPECT_EQ(listed({"test test"}), " test test|");
  EXPECT_EQ(listed({"a", "b", 1.0f, "c"}), " ab  1.00000 c|");
  // Each item form, after the blank that begins the record.
  const std::vector<std::pair<float, const char*>> reals = {
      {1.5f, "  1.50000"},
      {123.457f, "  123.457"},
      {0.0f, "  0.000000"},
      {-0.0f, "  0.000000"},
      {0.1f, "  0.100000"},
      {123456.7f, "  123457."},
      {0.01234568f, "  1.234568E-02"},
      {1.0e6f, "  1.000000E+06"},
      {-2.5e-7f, " -2.500000E-07"},
      // Rounded to six digits these reach 0.1 and 100000: the fixed form.
      {0.099999994f, "  0.100000"},
      {99999.95f, "  100000."},
      {std::numeric_limits<float>::infinity(), "  Infinity"},
      {-std::numeric_limits<float>::infinity(), " -Infinity"},
      {std::numeric_limits<float>::quiet_NaN(), "  NaN"},
  };
  for (const auto& [value, text] : reals) {
    EXPECT_EQ(listed({value}), std::string(" ") + text + "|") << value;
  }
  EXPECT_EQ(listed({"error code = ", 0}), " error code =   0|");
  EXPECT_EQ(listed({-12, Logical{1}}), "  -12  T|");
}

// The windowed program runs in the user's locale. Where that locale's decimal point is a
// multibyte sign, digits of reals were once taken from the middle of it.
TEST(FormattedWrite, RealsIgnoreTheProcessLocale) {
  const std::string source = "/usr/share/i18n/locales/ps_AF";
  if (!std::filesystem::exists(source)) GTEST_SKIP() << "no locale sources";
  char tmpl[] = "/tmp/recfmt-locale-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string dir = tmpl;
  const std::string build = "localedef -i ps_AF -f UTF-8 " + dir + "/ps_AF.UTF-8 >/dev/null 2>&1";
  const bool built = std::system(build.c_str()) == 0;
  setenv("LOCPATH", dir.c_str(), 1);
  const bool active = built && std::setlocale(LC_ALL, "ps_AF.UTF-8") != nullptr;
  std::string fixed, listed_real;
  if (active) {
    fixed = written("(F10.4,E12.4)", {1.5f, 1234.5f});
    listed_real = listed({1.5f});
  }
  std::setlocale(LC_ALL, "C");
  unsetenv("LOCPATH");
  std::filesystem::remove_all(dir);
  if (!active) GTEST_SKIP() << "locale could not be built";
  EXPECT_EQ(fixed, "    1.5000  0.1235E+04|");
  EXPECT_EQ(listed_real, "   1.50000|");
}

TEST(InternalWrite, FillsTheVariableAndBlanksTheRest) {
  test_support::FakeConsole console;
  Text<12> date("xxxxxxxxxxxx");
  write_internal(date.span(), Format("(a4,2('-',a2))"), {"2011", "03", "04"});
  EXPECT_EQ(date.view(), "2011-03-04  ");
  Text<5> time("xxxxx");
  write_internal(time.span(), Format("(I2,':',I2)"), {14, 5});
  EXPECT_EQ(time.view(), "14: 5");
  // More than the variable holds would be lost: the run ends instead.
  Text<3> small;
  EXPECT_THROW(write_internal(small.span(), Format("(I4)"), {1234}), StopRun);
  EXPECT_THROW(write_internal(small.span(), Format("(I1/I1)"), {1, 2}), StopRun);
  EXPECT_NE(console.output().find("? Output overflows the character variable"), std::string::npos);
}

}  // namespace
}  // namespace recfmt
