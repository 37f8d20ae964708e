// SPDX-License-Identifier: GPL-3.0-or-later
// Text of the user's files as the outputs carry it: UTF-8 kept, anything else read as
// Latin-1, no control character, no character cut; and the title of a whole run.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include <nlohmann/json.hpp>

#include "results/result_model.h"
#include "results/round_trip.h"
#include "results/text_encoding.h"

namespace {

using results::output_text;

// Whether text is UTF-8 that a strict JSON writer takes and XML can hold.
bool clean_utf8(const std::string& text) {
  try {
    (void)nlohmann::json(text).dump();
  } catch (const nlohmann::json::exception&) {
    return false;
  }
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) return false;
  }
  // C1 controls are U+0080..U+009F: C2 80..C2 9F.
  for (std::size_t k = 0; k + 1 < text.size(); ++k) {
    if (text[k] == '\xC2' && static_cast<unsigned char>(text[k + 1]) <= 0x9F) return false;
  }
  return text.find("\xEF\xBF\xBE") == std::string::npos &&
         text.find("\xEF\xBF\xBF") == std::string::npos;
}

TEST(OutputText, KeepsUtf8ReadsOtherBytesAsLatin1) {
  struct Case {
    const char* name;
    std::string in, out;
    bool full = false;  // the text fills its record
  };
  const Case cases[] = {
      {"plain", "Site 12, Causses", "Site 12, Causses"},
      {"utf8 kept", "Cr\xC3\xA9tac\xC3\xA9 \xCF\x83\xE2\x82\x81 \xF0\x9F\x98\x80",
       "Cr\xC3\xA9tac\xC3\xA9 \xCF\x83\xE2\x82\x81 \xF0\x9F\x98\x80"},
      {"latin1 e acute", "Cr\xE9tac\xE9", "Cr\xC3\xA9tac\xC3\xA9"},
      {"latin1 high bytes", "\xA0\xFF", "\xC2\xA0\xC3\xBF"},
      // One byte that is not UTF-8 makes the whole line Latin-1.
      {"mixed line", "\xC3\xA9 \xE9!", "\xC3\x83\xC2\xA9 \xC3\xA9!"},
      {"lone continuation", "a\x80z", "az"},  // U+0080 is a C1 control: dropped
      {"overlong slash", "\xC0\xAF", "\xC3\x80\xC2\xAF"},
      {"surrogate", "\xED\xA0\x80", "\xC3\xAD\xC2\xA0"},  // U+0080 of the last byte dropped
      {"past U+10FFFF", "\xF4\x90\x80\x80", "\xC3\xB4"},
      // A character cut by the end of a fixed-width record is left out, not misread.
      {"cut two-byte", "abc\xC3", "abc", true},
      {"cut four-byte", "abc\xF0\x9F\x98", "abc", true},
      {"cut after a bad byte", "\xFF\xC3", "\xC3\xBF\xC3\x83", true},
      // Short of the record's end the same bytes are a Latin-1 line ending in a letter.
      {"latin1 last letter", "abc\xC3", "abc\xC3\x83"},
      {"latin1 last e acute", "\xC3\xA9 \xE9", "\xC3\x83\xC2\xA9 \xC3\xA9"},
      {"controls dropped", std::string("a\0b\x01\x1B[31m\x7F", 10) + "c", "ab[31mc"},
      {"line ends dropped", "a\r\nb", "ab"},
      {"tab is a blank", "a\tb", "a b"},
      {"C1 in utf8 dropped", "a\xC2\x85z", "az"},
      {"noncharacter dropped", "a\xEF\xBF\xBEz", "az"},
      {"markup kept as text", "<&\"'>,;", "<&\"'>,;"},
  };
  for (const Case& c : cases) {
    const std::string out = output_text(c.in, c.full);
    EXPECT_EQ(out, c.out) << c.name;
    EXPECT_TRUE(clean_utf8(out)) << c.name;
  }
}

TEST(OutputText, AnyBytesGiveCleanUtf8) {
  for (int b = 0; b < 256; ++b) {
    const std::string one(1, static_cast<char>(b));
    EXPECT_TRUE(clean_utf8(output_text(one))) << b;
    EXPECT_TRUE(clean_utf8(output_text("\xC3" + one))) << b;
    EXPECT_TRUE(clean_utf8(output_text("\xE2\x82" + one))) << b;
    EXPECT_TRUE(clean_utf8(output_text("\xE2\x82" + one, true))) << b;
  }
  std::mt19937 gen(19);
  std::uniform_int_distribution<int> byte(0, 255), length(0, 80);
  for (int k = 0; k < 2000; ++k) {
    std::string text(static_cast<std::size_t>(length(gen)), ' ');
    for (char& c : text) c = static_cast<char>(byte(gen));
    const std::string out = output_text(text, k % 2 == 0);
    ASSERT_TRUE(clean_utf8(out)) << k;
    // Clean text is its own output.
    EXPECT_EQ(output_text(out), out) << k;
  }
}

TEST(OutputText, TitleOfAWholeRunIsUtf8) {
  gemino_test::ScratchDir dir;
  std::string params = gemino_test::slurp(GEMINO_EXAMPLES "/params.txt");
  // A Latin-1 title with a control character; the second line 80 bytes of UTF-8 with a
  // character that the record's width cuts.
  const std::string title = "Bassin de l'\xC9tang\x07 de Berre";
  const std::string second = std::string(79, 'x') + "\xC3\xA9" + "tail";
  const std::size_t first_end = params.find('\n');
  const std::size_t second_end = params.find('\n', first_end + 1);
  params = title + "\n" + second + params.substr(second_end);
  test_support::put(dir.file("params.txt"), params);
  std::filesystem::copy_file(GEMINO_EXAMPLES "/data.txt", dir.file("data.txt"));
  ASSERT_EQ(results_test::run_in(dir), 0);
  const results::Result r = results::build_result(gemino::shared_state());
  EXPECT_EQ(r.parameters.title, "Bassin de l'\xC3\x89tang de Berre");
  EXPECT_EQ(r.parameters.text[1], std::string(79, 'x'));
}

}  // namespace
