// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/csv_table.h"

#include <cctype>

namespace data_import {

namespace {

std::string trimmed(std::string_view s) {
  std::size_t a = 0;
  std::size_t b = s.size();
  while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
  while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
  return std::string(s.substr(a, b - a));
}

// The fields of one line (without its line end).
std::vector<Field> split_line(std::string_view line, int32_t line_number) {
  std::vector<Field> fields;
  std::size_t at = 0;
  for (;;) {
    std::size_t start = at;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    Field f;
    f.place = {line_number, static_cast<int32_t>(start + 1)};
    if (start < line.size() && line[start] == '"') {
      std::size_t i = start + 1;
      std::string text;
      for (;;) {
        if (i >= line.size()) throw InputError(f.place, "a quoted field is not closed");
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            text += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        text += line[i++];
      }
      while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
      if (i < line.size() && line[i] != ',') {
        throw InputError({line_number, static_cast<int32_t>(i + 1)},
                         "a quoted field must end at a comma");
      }
      f.text = text;
      fields.push_back(f);
      if (i >= line.size()) break;
      at = i + 1;
      continue;
    }
    const std::size_t comma = line.find(',', at);
    const std::size_t end = comma == std::string_view::npos ? line.size() : comma;
    f.text = trimmed(line.substr(at, end - at));
    fields.push_back(f);
    if (comma == std::string_view::npos) break;
    at = comma + 1;
  }
  return fields;
}

bool blank(std::string_view line) {
  for (char c : line) {
    if (c != ' ' && c != '\t') return false;
  }
  return true;
}

}  // namespace

Table parse_csv(std::string_view text) {
  Table table;
  bool header_seen = false;
  int32_t line_number = 0;
  std::size_t at = 0;
  // A byte order mark some spreadsheets write before the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") at = 3;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(at, end - at);
    at = end + 1;
    ++line_number;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (blank(line)) continue;
    const std::size_t first = line.find_first_not_of(" \t");
    if (line[first] == '#') {
      const std::size_t colon = line.find(':', first);
      if (!header_seen && colon != std::string_view::npos) {
        Setting s;
        s.key = lower_case(trimmed(line.substr(first + 1, colon - first - 1)));
        const std::string_view rest = line.substr(colon + 1);
        const std::size_t value_start = rest.find_first_not_of(" \t");
        s.value = trimmed(rest);
        s.place = {line_number,
                   static_cast<int32_t>(colon + 2 +
                                        (value_start == std::string_view::npos ? 0 : value_start))};
        table.settings.push_back(s);
      }
      continue;
    }
    std::vector<Field> fields = split_line(line, line_number);
    if (!header_seen) {
      for (Field& f : fields) f.text = lower_case(f.text);
      table.header = std::move(fields);
      header_seen = true;
      continue;
    }
    if (fields.size() > table.header.size()) {
      const Field& extra = fields[table.header.size()];
      throw InputError(extra.place, "more fields than the header names (" +
                                        std::to_string(table.header.size()) + ")");
    }
    table.rows.push_back({line_number, static_cast<int32_t>(line.size() + 1), std::move(fields)});
  }
  return table;
}

std::string lower_case(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

int32_t column_index(const Table& table, std::string_view name) {
  for (std::size_t i = 0; i < table.header.size(); ++i) {
    if (table.header[i].text == name) return static_cast<int32_t>(i);
  }
  return -1;
}

}  // namespace data_import

namespace data_import {

void check_columns(const Table& table, const std::vector<std::string_view>& required,
                   const std::vector<std::string_view>& optional, std::string_view form) {
  for (std::size_t i = 0; i < table.header.size(); ++i) {
    const Field& f = table.header[i];
    bool known = false;
    for (const auto* names : {&required, &optional}) {
      for (std::string_view n : *names) known = known || f.text == n;
    }
    if (!known) {
      throw InputError(f.place, "a " + std::string(form) + " has no column \"" + f.text + "\"");
    }
    for (std::size_t j = 0; j < i; ++j) {
      if (table.header[j].text == f.text) {
        throw InputError(f.place, "the column \"" + f.text + "\" is named twice");
      }
    }
  }
  std::string missing;
  for (std::string_view n : required) {
    if (column_index(table, n) < 0) missing += (missing.empty() ? "" : ", ") + std::string(n);
  }
  if (!missing.empty()) {
    const Place at = table.header.empty() ? Place{} : Place{table.header[0].place.line, 1};
    throw InputError(at, "the " + std::string(form) + " lacks the column(s) " + missing);
  }
}

}  // namespace data_import
