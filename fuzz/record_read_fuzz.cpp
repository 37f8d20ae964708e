// SPDX-License-Identifier: GPL-3.0-or-later
// Formatted reads of the data file's block headers and data records, list-directed
// reads of the parameter file's values, and the selection list, over any bytes: served
// from a file or from the console. Every read either succeeds with values its fields
// can hold, reports failure through its error return, or ends the run through the
// three-line error report with exit code 2.
//
// Input: one control byte, then the text.
//   bits 0-2  what is read: 0 data records (checked against their columns), 1 block headers, 2 the
//   data file's block
//             structure, 3 the parameter file's values, 4 mixed list values, 5 text lines
//   bit 3     from the console instead of a file
//   bit 4     statements without an error return (a failure stops the run)
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "recfmt/format.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "recfmt/units.h"
#include "support/fake_console.h"

namespace {

const recfmt::Format fmt_block_header("(I1,4X,3(I4,1X))");
const recfmt::Format fmt_record("(2X,I3,3X,I2,4X,A1,2X,I3,2X,I3,4X,A1)");
const recfmt::Format fmt_list_in("(18(I3,1X))");
const recfmt::Format fmt_text_in("(A80)");

constexpr int32_t unit = 4;
constexpr int max_statements = 400;

test_support::FakeConsole& console() {
  static test_support::FakeConsole c;
  return c;
}

bool in_range(int32_t v, int32_t lo, int32_t hi) {
  return lo <= v && v <= hi;
}

// One formatted or list-directed read, with or without an error return.
class Source {
 public:
  Source(int32_t unit_number, bool stop_on_error) : unit_(unit_number), stop_(stop_on_error) {}

  bool read(const recfmt::Format& f, std::initializer_list<recfmt::In> items) {
    if (stop_) {
      recfmt::read(unit_, f, items);
      return true;
    }
    return recfmt::read_checked(unit_, f, items);
  }
  bool read_list(std::initializer_list<recfmt::In> items) {
    if (stop_) {
      recfmt::read_list(unit_, items);
      return true;
    }
    recfmt::ListReader r(unit_, recfmt::OnError::Return);
    for (const recfmt::In& item : items) r >> item;
    return r.finish();
  }
  int32_t unit() const { return unit_; }
  bool stops() const { return stop_; }

 private:
  int32_t unit_;
  bool stop_;
};

struct Record {
  int32_t direction = 0, plunge = 0, angle = 0, grain = 0;
  recfmt::Text<1> sense, code;
};

bool read_record(Source& src, Record& r) {
  if (!src.read(fmt_record, {r.direction, r.plunge, r.sense, r.angle, r.grain, r.code})) {
    return false;
  }
  // An I3 field holds at most three characters, an I2 field two.
  FUZZ_CHECK(in_range(r.direction, -99, 999));
  FUZZ_CHECK(in_range(r.plunge, -9, 99));
  FUZZ_CHECK(in_range(r.angle, -99, 999));
  FUZZ_CHECK(in_range(r.grain, -99, 999));
  return true;
}

bool read_header(Source& src) {
  int32_t flag = 0, a[3] = {0, 0, 0};
  if (!src.read(fmt_block_header, {flag, a[0], a[1], a[2]})) return false;
  FUZZ_CHECK(in_range(flag, 0, 9));
  for (int32_t v : a) FUZZ_CHECK(in_range(v, -999, 9999));
  return true;
}

// A data record's fields read by hand from fixed columns, for a line without the commas,
// tabs and carriage returns that move or shorten fields: false when a numeric field
// holds anything but blanks, one leading sign and digits.
bool plain_int(std::string_view line, size_t from, size_t width, int32_t& value) {
  const std::string_view f = from < line.size() ? line.substr(from, width) : "";
  int32_t v = 0;
  bool negative = false, started = false;
  for (char c : f) {
    if (c == ' ') continue;
    if ((c == '+' || c == '-') && !started) {
      negative = c == '-';
      started = true;
      continue;
    }
    if (c < '0' || c > '9') return false;
    started = true;
    v = v * 10 + (c - '0');
  }
  value = negative ? -v : v;
  return true;
}

bool plain_record(std::string_view line, Record& r) {
  const auto letter = [&](size_t at) { return at < line.size() ? line[at] : ' '; };
  r.sense[0] = letter(14);
  r.code[0] = letter(29);
  return plain_int(line, 2, 3, r.direction) && plain_int(line, 8, 2, r.plunge) &&
         plain_int(line, 17, 3, r.angle) && plain_int(line, 22, 3, r.grain);
}

// Data records one per line, each checked against the fields read by hand.
void read_records_checked(Source& src, std::string_view text) {
  for (int n = 0; n < max_statements && !text.empty(); ++n) {
    const size_t lf = text.find('\n');
    const std::string_view line = text.substr(0, lf);
    text = lf == std::string_view::npos ? "" : text.substr(lf + 1);
    Record expected;
    const bool plain = line.find_first_of(",\t\r") == std::string_view::npos;
    const bool legal = plain_record(line, expected);
    Record got;
    const bool ok = read_record(src, got);
    if (!plain) {
      if (!ok) return;
      continue;
    }
    FUZZ_CHECK(ok == legal);
    if (!ok) return;
    FUZZ_CHECK(got.direction == expected.direction && got.plunge == expected.plunge);
    FUZZ_CHECK(got.angle == expected.angle && got.grain == expected.grain);
    FUZZ_CHECK(got.sense == expected.sense && got.code == expected.code);
  }
}

void read_data_file(Source& src) {
  int n = 0;
  while (n++ < max_statements && read_header(src)) {
    Record r;
    while (n++ < max_statements && read_record(src, r)) {
      if (r.direction > 401) return;
      if (r.direction > 360) break;
    }
  }
}

void read_parameters(Source& src) {
  int32_t v[7] = {0, 0, 0, 0, 0, 0, 0};
  if (!src.read_list({v[0], v[1], v[2], v[3], v[4], v[5], v[6]})) return;
  int32_t mode = 0, count = 0;
  if (!src.read_list({mode, count})) return;
  if (mode != 0 && in_range(count, 1, 500)) {
    int32_t list[500];
    recfmt::Reader r(src.unit(), fmt_list_in,
                     src.stops() ? recfmt::OnError::Stop : recfmt::OnError::Return);
    for (int32_t k = 0; k < count; ++k) r >> list[k];
    if (!r.finish()) return;
    for (int32_t k = 0; k < count; ++k) FUZZ_CHECK(in_range(list[k], -99, 999));
  }
  float start[5] = {0.0f, 0.0f, 0.0f, 0.0f, 0.0f};
  (void)src.read_list({start[0], start[1], start[2], start[3], start[4]});
}

void read_mixed(Source& src) {
  for (int n = 0; n < 50; ++n) {
    int32_t i = 0;
    float x = 0.0f;
    recfmt::Text<10> t;
    recfmt::Logical l;
    if (!src.read_list({i, x, t, l})) return;
  }
}

void read_lines(Source& src) {
  recfmt::Text<80> line;
  for (int n = 0; n < max_statements; ++n) {
    if (!src.read(fmt_text_in, {line})) return;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t control = data[0];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const bool from_console = (control & 8) != 0;
  const bool stop_on_error = (control & 16) != 0;

  console().clear_output();
  console().set_input({});
  if (from_console) {
    console().set_input(std::string(text));
  } else {
    const std::string path = gemino_fuzz::scratch_file("records.txt");
    gemino_fuzz::write_file(path, text);
    FUZZ_CHECK(recfmt::open(unit, path, "old") == 0);
  }
  Source src(from_console ? 5 : unit, stop_on_error);
  try {
    switch (control & 7) {
      case 0:
        if (stop_on_error) {
          Record r;
          for (int n = 0; n < max_statements && read_record(src, r); ++n) {
          }
        } else {
          read_records_checked(src, text);
        }
        break;
      case 1:
        for (int n = 0; n < max_statements && read_header(src); ++n) {
        }
        break;
      case 2:
        read_data_file(src);
        break;
      case 3:
        read_parameters(src);
        break;
      case 4:
        read_mixed(src);
        break;
      default:
        read_lines(src);
        break;
    }
    recfmt::close_all();
  } catch (const recfmt::StopRun& stop) {
    // A failed read ends the run with its three-line report.
    FUZZ_CHECK(stop.exit_code == 2);
    const std::string& out = console().output();
    FUZZ_CHECK(out.rfind("? ") != std::string::npos);
    FUZZ_CHECK(out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0);
  }
  return 0;
}
