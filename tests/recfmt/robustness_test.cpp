// SPDX-License-Identifier: GPL-3.0-or-later
// Hostile formats and hostile input: every outcome is a value, a FormatError or a clean
// stop of the run, never a crash (the sanitizer build checks the memory side).
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "recfmt/units.h"
#include "support/fake_console.h"

namespace recfmt {
namespace {

// A small fixed generator: the same cases on every run.
struct Lcg {
  uint32_t state;
  uint32_t next() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  }
  char pick(std::string_view from) { return from[next() % from.size()]; }
};

TEST(Robustness, RandomFormatsParseOrAreRefused) {
  test_support::FakeConsole console;
  Lcg g{12345};
  int32_t parsed = 0;
  for (int n = 0; n < 20000; ++n) {
    std::string text = "(";
    const int len = static_cast<int>(g.next() % 16);
    for (int i = 0; i < len; ++i) text.push_back(g.pick("(),/'.0123456789IFEALXTRaxt "));
    if (g.next() % 2 == 0) text.push_back(')');
    try {
      const Format f(text);
      ++parsed;
      // Run what parsed with one item of each kind; a mismatch stops the run cleanly.
      Text<3> t("abc");
      for (const Out& item : {Out(7), Out(1.5f), Out(Logical{1}), Out(t)}) {
        try {
          write(6, f, {item, item});
        } catch (const StopRun& s) {
          EXPECT_EQ(s.exit_code, 2);
        }
      }
    } catch (const FormatError&) {
    }
  }
  EXPECT_GT(parsed, 100);
}

TEST(Robustness, RandomBytesReadOrFailCleanly) {
  test_support::FakeConsole console;
  char tmpl[] = "/tmp/recfmt-bytes-XXXXXX";
  ASSERT_NE(mkdtemp(tmpl), nullptr);
  const std::string file = std::string(tmpl) + "/in.bin";
  Lcg g{777};
  const Format fixed("(I3,F6.2,A4,L2,2X,I5)");
  for (int n = 0; n < 300; ++n) {
    std::string bytes;
    const int len = static_cast<int>(g.next() % 200);
    for (int i = 0; i < len; ++i) {
      bytes.push_back(g.next() % 3 == 0 ? g.pick("\n\r\t ,/*'\"0123456789.+-eE")
                                        : static_cast<char>(g.next() % 256));
    }
    std::ofstream(file, std::ios::binary) << bytes;
    ASSERT_EQ(open(3, file, "old"), 0);
    int32_t i = 0, j = 0;
    float r = 0;
    Text<4> t;
    Logical l;
    (void)read_checked(3, fixed, {i, r, t, l, j});
    ListReader list(3, OnError::Return);
    list >> i >> r >> t >> l >> j;
    (void)list.finish();
    close(3);
  }
  std::remove(file.c_str());
  std::remove(tmpl);
}

}  // namespace
}  // namespace recfmt
