// SPDX-License-Identifier: GPL-3.0-or-later
// The ACCESS text of an OPEN that asks for a window, on any text: the size read from it
// against a plain reading of the rule (first 100 characters; width between the first
// and second comma, height after the second; blanks skipped; any other non-digit, or a
// value beyond 32 bits, makes a number 0; both nonzero or the default size), and the
// unit table driven by the rest of the input.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "recfmt/hooks.h"
#include "vozo/bridge.h"

namespace {

int64_t plain_number(std::string_view s) {
  int64_t v = 0;
  for (char c : s) {
    if (c == ' ') continue;
    if (c < '0' || c > '9') return 0;
    v = v * 10 + (c - '0');
    if (v > INT32_MAX) return 0;
  }
  return v;
}

void check_access(std::string_view access) {
  const vozo::WindowSize got = vozo::parse_window_access(access);
  const std::string_view head = access.substr(0, 100);
  int64_t width = 0, height = 0;
  const size_t a = head.find(',');
  const size_t b = a == std::string_view::npos ? a : head.find(',', a + 1);
  if (b != std::string_view::npos) {
    width = plain_number(head.substr(a + 1, b - a - 1));
    height = plain_number(head.substr(b + 1));
  }
  if (width != 0 && height != 0) {
    FUZZ_CHECK(!got.use_default && got.width == width && got.height == height);
  } else {
    FUZZ_CHECK(got.use_default && got.width == 0 && got.height == 0);
  }
  std::string head6(access.substr(0, 6));
  for (char& c : head6) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  FUZZ_CHECK(recfmt::is_window_access(access) == (head6 == "WINDOW"));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view all(reinterpret_cast<const char*>(data), size);
  const size_t nul = all.find('\0');
  check_access(all.substr(0, nul));
  if (nul == std::string_view::npos) return 0;

  // The unit table: registrations, windows attached and detached, lookups.
  gemino_fuzz::Bytes in(data + nul + 1, size - nul - 1);
  vozo::UnitWindowTable table;
  auto* const window = reinterpret_cast<vozo::ConsoleState*>(&table);  // a token, never used
  while (!in.empty()) {
    const int32_t id = static_cast<int8_t>(in.byte());
    switch (in.byte() % 4) {
      case 0: {
        const int32_t before = table.count();
        const bool ok = table.register_unit(id);
        FUZZ_CHECK(ok == (before < vozo::UnitWindowTable::capacity));
        FUZZ_CHECK(table.count() == before + (ok ? 1 : 0));
        if (ok) FUZZ_CHECK(table.unit_at(table.count()) == id);
        break;
      }
      case 1:
        table.attach_last(window);
        break;
      case 2:
        table.detach(window);
        break;
      default: {
        vozo::ConsoleState* found = table.lookup(id);
        FUZZ_CHECK(found == nullptr || found == window);
        break;
      }
    }
    FUZZ_CHECK(table.count() >= 0 && table.count() <= vozo::UnitWindowTable::capacity);
  }
  return 0;
}
