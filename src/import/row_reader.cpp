// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/row_reader.h"

#include <charconv>
#include <cmath>
#include <string>

namespace data_import {

namespace {

std::string number_text(double v) {
  std::string s = std::to_string(v);
  while (s.size() > 1 && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

}  // namespace

bool RowReader::has(int32_t column) const {
  return column >= 0 && static_cast<std::size_t>(column) < row_.fields.size() &&
         !row_.fields[static_cast<std::size_t>(column)].text.empty();
}

Place RowReader::place(int32_t column) const {
  if (column >= 0 && static_cast<std::size_t>(column) < row_.fields.size()) {
    return row_.fields[static_cast<std::size_t>(column)].place;
  }
  return {row_.line, row_.end_column};
}

const Field& RowReader::present(int32_t column, std::string_view name) const {
  if (!has(column)) throw InputError(place(column), std::string(name) + " is missing");
  return row_.fields[static_cast<std::size_t>(column)];
}

double RowReader::real(int32_t column, std::string_view name, double low, double high) const {
  const Field& f = present(column, name);
  std::string_view text = f.text;
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  double v = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) {
    throw InputError(f.place, std::string(name) + " is not a number: \"" + f.text + "\"");
  }
  if (v < low || v > high) {
    throw InputError(f.place, std::string(name) + " " + f.text + " is out of range (" +
                                  number_text(low) + " to " + number_text(high) + ")");
  }
  return v;
}

int64_t RowReader::whole(int32_t column, std::string_view name, int64_t low, int64_t high) const {
  const Field& f = present(column, name);
  const double v = real(column, name, static_cast<double>(low), static_cast<double>(high));
  if (v != std::floor(v)) {
    throw InputError(f.place, std::string(name) + " must be a whole number: \"" + f.text + "\"");
  }
  return static_cast<int64_t>(v);
}

bool RowReader::twinned(int32_t column, std::string_view name) const {
  const Field& f = present(column, name);
  const std::string v = lower_case(f.text);
  if (v == "1" || v == "yes" || v == "t") return true;
  if (v == "0" || v == "no" || v == "u") return false;
  throw InputError(f.place,
                   std::string(name) + " must be 1/0, yes/no or T/U, not \"" + f.text + "\"");
}

}  // namespace data_import
