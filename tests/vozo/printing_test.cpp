// SPDX-License-Identifier: GPL-3.0-or-later
// Pagination of printed text, bitmap files and the About box values.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "vozo/about.h"
#include "vozo/bmp.h"
#include "vozo/pagination.h"

namespace vozo {
namespace {

// "copy:first-last" for each page, "copy:blank" for an empty one.
std::vector<std::string> pages_text(const std::vector<PrintedPage>& pages) {
  std::vector<std::string> text;
  for (const PrintedPage& page : pages) {
    text.push_back(std::to_string(page.copy) + ":" +
                   (page.lines.empty() ? std::string("blank")
                                       : std::to_string(page.lines.first) + "-" +
                                             std::to_string(page.lines.last)));
  }
  return text;
}

using Pages = std::vector<std::string>;

TEST(Pagination, ChosenPagesMapToTheirLines) {
  struct Case {
    int32_t line_count;
    PageRange range;
    int32_t first, last;
  };
  const Case cases[] = {
      {200, {2, 3}, 51, 150}, {120, {2, 3}, 51, 120},  // the text ends on page 3
      {40, {2, 3}, 1, 0},                              // nothing on those pages
      {100, {1, 1}, 1, 50},   {2000000000, {32767, 32767}, 1638301, 1638350},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.line_count << " " << c.range.from << "-" << c.range.to);
    const LineSpan span = print_lines(c.line_count, 50, c.range);
    if (c.last < c.first) {
      EXPECT_TRUE(span.empty());
    } else {
      EXPECT_EQ(span.first, c.first);
      EXPECT_EQ(span.last, c.last);
    }
  }
  // Products past 32 bits must not wrap into a range of real lines.
  EXPECT_TRUE(print_lines(2000000000, 100000, PageRange{32767, 32767}).empty());
  const LineSpan high = print_lines(2000000000, 100000, PageRange{20000, 32767});
  EXPECT_EQ(high.first, 1999900001);
  EXPECT_EQ(high.last, 2000000000);
  const LineSpan all = print_lines(73, 50, std::nullopt);
  EXPECT_EQ(all.first, 1);
  EXPECT_EQ(all.last, 73);
}

TEST(Pagination, PagesFillFromTheTopAndCopiesStartANewPage) {
  EXPECT_EQ(pages_text(paginate({1, 100}, 50, 1)), (Pages{"1:1-50", "1:51-100"}));
  EXPECT_EQ(pages_text(paginate({1, 101}, 50, 1)), (Pages{"1:1-50", "1:51-100", "1:101-101"}));
  EXPECT_EQ(pages_text(paginate({51, 120}, 50, 2)),
            (Pages{"1:51-100", "1:101-120", "2:51-100", "2:101-120"}));
  EXPECT_EQ(pages_text(paginate({1, 3}, 50, 2)), (Pages{"1:1-3", "2:1-3"}));
  EXPECT_EQ(pages_text(paginate({1, 0}, 50, 2)), (Pages{"1:blank", "2:blank"}));
  EXPECT_TRUE(paginate({1, 100}, 50, 0).empty());
}

TEST(Pagination, LinesPerPageRefusesPagesWithoutRoomForALine) {
  EXPECT_EQ(lines_per_page(6600, 132), 50);
  EXPECT_EQ(lines_per_page(6599, 132), 49);
  EXPECT_EQ(lines_per_page(100, 132), 0);
  EXPECT_EQ(lines_per_page(100, 0), 0);
  EXPECT_EQ(lines_per_page(0, 10), 0);
}

TEST(PrintFolder, WorkingFolderFirstThenTheFolderLastPrintedTo) {
  PrintFolder folder;
  EXPECT_EQ(folder.proposed_file("VOZO Graphic", "/data/site"), "/data/site/VOZO Graphic.pdf");
  EXPECT_EQ(folder.proposed_file("doc", "/"), "/doc.pdf");
  folder.remember("plain-name.pdf");  // no folder: nothing learnt
  EXPECT_EQ(folder.proposed_file("doc", "/w/"), "/w/doc.pdf");
  folder.remember("/home/ana/prints/out.pdf");
  EXPECT_EQ(folder.proposed_file("doc", "/w"), "/home/ana/prints/doc.pdf");
  folder.remember("/top.pdf");
  EXPECT_EQ(folder.proposed_file("doc", "/w"), "/doc.pdf");
}

uint32_t u32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
  return value;
}
uint32_t u16(const std::string& bytes, size_t at) {
  return static_cast<uint8_t>(bytes[at]) |
         static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8;
}

TEST(Bitmap, HeaderFieldsFollowThePaddedRowStride) {
  struct Case {
    int32_t width;
    uint32_t stride;
  };
  const Case cases[] = {{1, 4}, {7, 24}, {8, 24}, {9, 28}, {600, 1800}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    const int32_t height = 3;
    std::vector<uint32_t> pixels(static_cast<size_t>(c.width * height), 0x123456);
    const std::string file = bmp_file(c.width, height, pixels.data(), c.width);
    ASSERT_EQ(file.size(), 54 + 3 * c.stride);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(u32(file, 2), file.size());
    EXPECT_EQ(u32(file, 6), 0u);
    EXPECT_EQ(u32(file, 10), 54u);
    EXPECT_EQ(u32(file, 14), 40u);
    EXPECT_EQ(u32(file, 18), static_cast<uint32_t>(c.width));
    EXPECT_EQ(u32(file, 22), 3u);
    EXPECT_EQ(u16(file, 26), 1u);
    EXPECT_EQ(u16(file, 28), 24u);
    EXPECT_EQ(u32(file, 30), 0u);
    EXPECT_EQ(u32(file, 34), 3 * c.stride);
    for (size_t at : {38u, 42u, 46u, 50u}) EXPECT_EQ(u32(file, at), 0u) << at;
    // Padding bytes at the end of each row are zero.
    for (uint32_t row = 0; row < 3; ++row) {
      for (uint32_t b = 3 * c.width; b < c.stride; ++b) {
        EXPECT_EQ(file[54 + row * c.stride + b], '\0');
      }
    }
  }
}

TEST(Bitmap, RowsAreStoredBottomUpInBlueGreenRedOrder) {
  const uint32_t pixels[] = {0x112233, 0x445566, 0xFF778899, 0xAABBCC};
  const std::string file = bmp_file(2, 2, pixels, 2);
  const std::string expected_rows = std::string("\x99\x88\x77\xCC\xBB\xAA\0\0", 8) +
                                    std::string("\x33\x22\x11\x66\x55\x44\0\0", 8);
  EXPECT_EQ(file.substr(54), expected_rows);
}

TEST(Bitmap, RefusesSizesItCannotWrite) {
  const uint32_t pixel = 0;
  EXPECT_EQ(bmp_file(0, 5, &pixel, 1), "");
  EXPECT_EQ(bmp_file(5, 0, &pixel, 5), "");
  EXPECT_EQ(bmp_file(1, 1, nullptr, 1), "");
  EXPECT_EQ(bmp_file(2, 1, &pixel, 1), "");  // rows shorter than the width
  BmpLayout layout;
  EXPECT_FALSE(bmp_layout(100000, 100000, layout));
}

TEST(AboutBox, ValuesAreDecimalAndAddressesAtLeastEightHexDigits) {
  SystemFacts facts;
  facts.page_size = 4096;
  facts.minimum_address = 65536;
  facts.maximum_address = 0x7FFFFFFFEFFFull;
  facts.processor_type = 8664;
  facts.processors = 2;
  const AboutFields fields = about_fields(facts);
  EXPECT_EQ(fields.page_size, "4096");
  EXPECT_EQ(fields.minimum_address, "0x00010000");
  EXPECT_EQ(fields.maximum_address, "0x7fffffffefff");
  EXPECT_EQ(fields.processor_type, "8664");
  EXPECT_EQ(fields.processors, "2");
  EXPECT_EQ(address_text(0), "0x00000000");
  EXPECT_EQ(address_text(0x7FFEFFFF), "0x7ffeffff");
}

TEST(AboutBox, SystemFactsAreTheSameAtEveryOpening) {
  const SystemFacts first = read_system_facts();
  const SystemFacts second = read_system_facts();
  EXPECT_GT(first.page_size, 0u);
  EXPECT_GT(first.processors, 0u);
  EXPECT_LT(first.minimum_address, first.maximum_address);
  EXPECT_EQ(about_fields(first).maximum_address, about_fields(second).maximum_address);
  EXPECT_EQ(about_fields(first).page_size, about_fields(second).page_size);
}

}  // namespace
}  // namespace vozo
