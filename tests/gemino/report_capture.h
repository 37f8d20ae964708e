// Test helper: connects the parameter unit (3) and the report unit (8) to files in a
// scratch folder and reads the report back as records.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "recfmt/testing.h"
#include "recfmt/units.h"

namespace gemino::testing {

class ReportCapture {
 public:
  ReportCapture() {
    static int serial = 0;
    dir_ = std::filesystem::temp_directory_path() /
           ("gemino-num-" + std::to_string(::getpid()) + "-" + std::to_string(++serial));
    std::filesystem::create_directories(dir_);
    recfmt::testing::reset_units();
  }
  ~ReportCapture() {
    recfmt::testing::reset_units();
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  ReportCapture(const ReportCapture&) = delete;
  ReportCapture& operator=(const ReportCapture&) = delete;

  // Unit 3 reads `text`.
  bool open_parameters(const std::string& text) {
    const auto path = dir_ / "params.txt";
    std::ofstream(path, std::ios::binary) << text;
    return recfmt::open(3, path.string(), "old") == 0;
  }
  // Unit 8 writes a fresh report.
  bool open_report() { return recfmt::open(8, (dir_ / "report.txt").string(), "unknown") == 0; }

  // Closes unit 8 and returns its records, each checked to end with CR LF.
  std::vector<std::string> report_lines() {
    recfmt::close(8);
    std::ifstream in(dir_ / "report.txt", std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
      const size_t end = text.find("\r\n", at);
      if (end == std::string::npos) {
        lines.push_back("<no CR LF>" + text.substr(at));
        break;
      }
      lines.push_back(text.substr(at, end - at));
      at = end + 2;
    }
    return lines;
  }

 private:
  std::filesystem::path dir_;
};

}  // namespace gemino::testing
