// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/report_share.h"

#include <fstream>
#include <iterator>

namespace gemino {

namespace {

// The record that starts at `start`: its end (before CR LF or LF).
std::size_t record_end(const std::string& text, std::size_t start) {
  const std::size_t end = text.find_first_of("\r\n", start);
  return end == std::string::npos ? text.size() : end;
}

std::size_t next_record(const std::string& text, std::size_t start) {
  const std::size_t lf = text.find('\n', start);
  return lf == std::string::npos ? std::string::npos : lf + 1;
}

}  // namespace

std::string i3_field(int32_t value) {
  if (value < -99 || value > 999) return "***";
  std::string digits = std::to_string(value);
  return std::string(3 - digits.size(), ' ') + digits;
}

bool write_share_used(const std::string& name, int32_t echo_record, int32_t twin_percent,
                      int32_t twins_counted) {
  if (echo_record < 0) return false;
  // The name as the run opened it: blanks around it do not count.
  const std::size_t first = name.find_first_not_of(' ');
  if (first == std::string::npos) return false;
  const std::string path = name.substr(first, name.find_last_not_of(' ') - first + 1);
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  if (!file) return false;
  const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());

  std::size_t echo = 0;
  for (int32_t k = 0; k < echo_record && echo != std::string::npos; ++k) {
    echo = next_record(text, echo);
  }
  if (echo == std::string::npos) return false;
  if (record_end(text, echo) - echo < static_cast<std::size_t>(share_column) + 3) return false;

  std::size_t counts = next_record(text, echo);
  while (counts != std::string::npos &&
         std::string_view(text).substr(counts, counted_label.size()) != counted_label) {
    counts = next_record(text, counts);
  }
  if (counts == std::string::npos) return false;
  if (record_end(text, counts) - counts < counted_label.size() + 3) return false;

  file.clear();
  file.seekp(static_cast<std::streamoff>(echo + share_column));
  file << i3_field(twin_percent);
  file.seekp(static_cast<std::streamoff>(counts + counted_label.size()));
  file << i3_field(twins_counted);
  file.flush();
  return static_cast<bool>(file);
}

}  // namespace gemino
