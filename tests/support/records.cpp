// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/records.h"

#include <fstream>
#include <iterator>

namespace test_support {

std::vector<std::string> records_of(std::string_view text) {
  std::vector<std::string> out;
  for (std::size_t p = text.find("\r\n"); p != std::string_view::npos; p = text.find("\r\n")) {
    out.emplace_back(text.substr(0, p));
    text.remove_prefix(p + 2);
  }
  if (!text.empty()) out.push_back(std::string(text) + "<no CR LF>");
  return out;
}

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> read_records(const std::string& path) {
  return records_of(slurp(path));
}

}  // namespace test_support
