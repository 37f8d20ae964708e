// SPDX-License-Identifier: GPL-3.0-or-later
// Test helper: connects the parameter unit (3) and the report unit (8) to files in a
// scratch folder and reads the report back as records.
#pragma once

#include <fstream>
#include <string>
#include <vector>

#include "gemino/io_files.h"
#include "recfmt/units.h"
#include "support/fake_console.h"

namespace gemino::testing {

class ReportCapture {
 public:
  ReportCapture() { recfmt::close_all(); }
  ~ReportCapture() { recfmt::close_all(); }
  ReportCapture(const ReportCapture&) = delete;
  ReportCapture& operator=(const ReportCapture&) = delete;

  // Unit 3 reads `text`.
  bool open_parameters(const std::string& text) {
    const std::string path = dir_.file("params.txt");
    std::ofstream(path, std::ios::binary) << text;
    return recfmt::open(3, path, "old") == 0;
  }
  // Unit 8 writes a fresh report.
  bool open_report() { return recfmt::open(8, dir_.file("report.txt"), "unknown") == 0; }

  // Closes unit 8 and returns its records; a last one without CR LF is marked.
  std::vector<std::string> report_lines() {
    recfmt::close(8);
    return gemino_test::read_records(dir_.file("report.txt"));
  }

 private:
  gemino_test::ScratchDir dir_;
};

}  // namespace gemino::testing
