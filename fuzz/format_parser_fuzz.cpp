// SPDX-License-Identifier: GPL-3.0-or-later
// The format parser on any text. A malformed format must be refused with FormatError;
// a format that parses is then used for a read of the input's second part from the
// console and a write of the values read, which must end normally or through the
// run-time error report.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "recfmt/format.h"
#include "recfmt/statements.h"
#include "recfmt/stop.h"
#include "support/fake_console.h"

namespace {

using recfmt::Format;
using Kind = Format::Node::Kind;

test_support::FakeConsole& console() {
  static test_support::FakeConsole c;
  return c;
}

void check_nodes(const Format& f) {
  const auto& nodes = f.nodes();
  FUZZ_CHECK(f.reversion_start() >= 0);
  FUZZ_CHECK(static_cast<size_t>(f.reversion_start()) <= nodes.size());
  for (const Format::Node& n : nodes) {
    switch (n.kind) {
      case Kind::Alpha:
        FUZZ_CHECK(n.width == -1 || n.width > 0);
        break;
      case Kind::Integer:
      case Kind::Logical:
      case Kind::Tab:
      case Kind::TabLeft:
        FUZZ_CHECK(n.width > 0);
        break;
      case Kind::Fixed:
      case Kind::Exponent:
        FUZZ_CHECK(n.width > 0 && n.decimals >= 0);
        break;
      case Kind::Skip:
        FUZZ_CHECK(n.width >= 0);
        break;
      case Kind::Slash:
      case Kind::Literal:
        break;
    }
  }
}

// Storage for the items of the first data descriptors of a format.
constexpr size_t max_items = 24;
struct Items {
  int32_t ints[max_items] = {};
  float reals[max_items] = {};
  recfmt::Logical logicals[max_items] = {};
  recfmt::Text<12> texts[max_items];
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const size_t nul = all.find('\0');
  const std::string_view text = all.substr(0, nul);
  const std::string_view record = nul == std::string_view::npos ? "" : all.substr(nul + 1);

  console();
  std::vector<Kind> kinds;
  try {
    const Format f(text);
    FUZZ_CHECK(f.text() == text);
    check_nodes(f);
    for (const Format::Node& n : f.nodes()) {
      if (n.is_data() && kinds.size() < max_items) kinds.push_back(n.kind);
    }

    console().set_input(std::string(record));
    console().clear_output();
    Items items;
    try {
      recfmt::Reader in(5, f, recfmt::OnError::Return);
      for (size_t k = 0; k < kinds.size(); ++k) {
        switch (kinds[k]) {
          case Kind::Integer:
            in >> items.ints[k];
            break;
          case Kind::Fixed:
          case Kind::Exponent:
            in >> items.reals[k];
            break;
          case Kind::Logical:
            in >> items.logicals[k];
            break;
          default:
            in >> items.texts[k];
            break;
        }
      }
      (void)in.finish();
    } catch (const recfmt::StopRun& stop) {
      FUZZ_CHECK(stop.exit_code == 2);
    }

    try {
      recfmt::Writer out(6, f);
      for (size_t k = 0; k < kinds.size(); ++k) {
        switch (kinds[k]) {
          case Kind::Integer:
            out << items.ints[k];
            break;
          case Kind::Fixed:
          case Kind::Exponent:
            out << items.reals[k];
            break;
          case Kind::Logical:
            out << items.logicals[k];
            break;
          default:
            out << items.texts[k];
            break;
        }
      }
      out.finish();
    } catch (const recfmt::StopRun& stop) {
      FUZZ_CHECK(stop.exit_code == 2);
    }
    // Every record written ends with CR LF.
    const std::string& written = console().output();
    FUZZ_CHECK(written.empty() || written.size() >= 2);
    FUZZ_CHECK(written.empty() || written.compare(written.size() - 2, 2, "\r\n") == 0);
  } catch (const recfmt::FormatError&) {
    // Refused cleanly.
  }
  return 0;
}
