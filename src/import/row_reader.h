// SPDX-License-Identifier: GPL-3.0-or-later
// The fields of one table row read as numbers, grain numbers and twin flags, each checked
// and complained about at its own line and column.
#pragma once

#include <cstdint>
#include <string_view>

#include "import/csv_table.h"

namespace data_import {

class RowReader {
 public:
  explicit RowReader(const Row& row) : row_(row) {}

  // Whether the row has a non-empty field in this column (-1: the table has no such column).
  bool has(int32_t column) const;
  // Where the field is, or the end of the line when the row stops short of it.
  Place place(int32_t column) const;

  // A real number within [low, high]; `name` is the column's name for the complaint.
  double real(int32_t column, std::string_view name, double low, double high) const;
  // A whole number (written with or without ".0") within [low, high].
  int64_t whole(int32_t column, std::string_view name, int64_t low, int64_t high) const;
  // 1/0, yes/no, T/U (any case): twinned or not.
  bool twinned(int32_t column, std::string_view name) const;

 private:
  const Field& present(int32_t column, std::string_view name) const;
  const Row& row_;
};

}  // namespace data_import
