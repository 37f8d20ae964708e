// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/report_text.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string_view>

#include "results/text_encoding.h"

namespace desktop {

namespace {

// Line by line, so that the encoding's cleaning (which drops control characters) never
// sees a line end.
std::string view_text(std::string_view bytes) {
  std::string text;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = bytes.size();
    text += results::output_text(bytes.substr(start, end - start));
    text += '\n';
    if (end < bytes.size() && bytes[end] == '\r' && end + 1 < bytes.size() &&
        bytes[end + 1] == '\n') {
      ++end;
    }
    start = end + 1;
  }
  return text;
}

}  // namespace

ReportText load_report(const std::string& path) {
  namespace fs = std::filesystem;
  ReportText out;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (ec || !fs::exists(status)) {
    out.error = path + ": no such file";
    return out;
  }
  if (fs::is_directory(status)) {
    out.error = path + ": a folder, not a report";
    return out;
  }
  const auto size = fs::file_size(path, ec);
  if (!ec && size > static_cast<std::uintmax_t>(largest_report)) {
    out.error = path + ": too large for a report (" + std::to_string(size) + " bytes)";
    return out;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    out.error = path + ": " + std::strerror(errno);
    return out;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  out.text = view_text(bytes);
  return out;
}

}  // namespace desktop
