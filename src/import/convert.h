// SPDX-License-Identifier: GPL-3.0-or-later
// A plane table or an EBSD grain table (CSV) converted to the twin data file. The header
// row tells the form. The one entry point of both programs (the terminal's "convert" and
// the windowed program's import).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/grain_table.h"
#include "import/legacy_file.h"

namespace data_import {

struct Options {
  bool split = false;         // several data files when one cannot hold the table
  Declarations declarations;  // EBSD conventions given besides the file
  std::string grain_map;      // when not empty: write where each grain went (CSV) there
};

struct Conversion {
  std::string form;                // "plane table" or "EBSD grain table"
  std::vector<std::string> files;  // the data files written (or to write), in order
  LegacyFiles data;
  std::string grain_map;  // CSV text: source_block,source_grain,file,block,grain

  // What was done, in a few lines for the console.
  std::string summary() const;
};

struct Outcome {
  std::optional<Conversion> conversion;
  std::string error;  // "FILE:LINE:COLUMN: what" or "FILE: what" when it failed

  bool ok() const { return conversion.has_value(); }
};

// Converts the text of a table named `input_name` (for the messages) to data files named
// after `output`; nothing is written.
Outcome convert_text(std::string_view csv, const std::string& input_name, const std::string& output,
                     const Options& options);

// Reads `input`, converts it and writes the data file `output` (with --split: OUTPUT-1,
// OUTPUT-2, ... before its extension, when one file cannot hold the table), every file
// whole or not at all. Nothing is written when anything is wrong.
Outcome convert_file(const std::string& input, const std::string& output, const Options& options);

// The names of `count` files made from `output`: itself when count is 1.
std::vector<std::string> split_names(const std::string& output, std::size_t count);

}  // namespace data_import
