// SPDX-License-Identifier: GPL-3.0-or-later
// A comma-separated table as a spreadsheet saves it: a header row naming the columns, one
// row per line after it. Lines starting with '#' are comments; a comment "# key: value"
// before the header declares a setting. A field may be quoted ("a, b"; "" for a quote).
// Every field keeps its line and column so that a complaint can point at it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace data_import {

// Where in the input a complaint points; line and column count from 1 (0: not known).
struct Place {
  int32_t line = 0;
  int32_t column = 0;
};

// A complaint about the input: "FILE:LINE:COLUMN: what" once the file name is known.
class InputError : public std::runtime_error {
 public:
  InputError(Place place, const std::string& what) : std::runtime_error(what), place_(place) {}
  const Place& place() const { return place_; }

 private:
  Place place_;
};

struct Field {
  std::string text;  // without the quotes and the blanks around it
  Place place;
};

struct Row {
  int32_t line = 0;
  int32_t end_column = 1;  // the column just past the line's last character
  std::vector<Field> fields;
};

// A "# key: value" comment line.
struct Setting {
  std::string key;  // lower case
  std::string value;
  Place place;  // of the value
};

struct Table {
  std::vector<Field> header;  // column names, lower case
  std::vector<Row> rows;
  std::vector<Setting> settings;
};

// Parses the whole text. Blank lines are skipped; a row with more fields than the header
// is an error, one with fewer is kept (the missing fields are reported by whoever needs
// them). An unterminated quote is an error.
Table parse_csv(std::string_view text);

// The text in lower case (ASCII letters only: names, keys and flags are ASCII).
std::string lower_case(std::string_view text);

// The index of the header column of this name, or -1.
int32_t column_index(const Table& table, std::string_view name);

}  // namespace data_import

namespace data_import {

// Checks the header of a table of this form: every required column present, no column
// twice, none that the form does not know.
void check_columns(const Table& table, const std::vector<std::string_view>& required,
                   const std::vector<std::string_view>& optional, std::string_view form);

}  // namespace data_import
