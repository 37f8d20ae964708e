// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/run_end.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace desktop {

RunEnd run_end(bool report_complete, bool stop_requested) {
  if (report_complete) return RunEnd::completed;
  return stop_requested ? RunEnd::stopped : RunEnd::failed;
}

bool mark_incomplete(const std::string& path) {
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return false;
  const std::string line = std::string(incomplete_line) + "\r\n";
  {
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.size() >= line.size() &&
        text.compare(text.size() - line.size(), line.size(), line) == 0) {
      return true;
    }
  }
  std::ofstream out(path, std::ios::binary | std::ios::app);
  out << line;
  out.flush();
  return static_cast<bool>(out);
}

std::string failure_place(const std::vector<std::string>& console_lines) {
  std::string message;
  for (const std::string& raw : console_lines) {
    std::string line = raw;
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\n')) {
      line.pop_back();
    }
    if (line.rfind("? ", 0) != 0) continue;
    const std::string text = line.substr(2);
    if (text.rfind("File ", 0) == 0) return text;
    if (text != "A run-time error occurred" && text.find("(UNIT=") == std::string::npos) {
      message = text;
    }
  }
  return message;
}

std::string end_status(RunEnd end, const std::string& report, const std::string& place) {
  const std::string where = report.empty() ? std::string() : " Report " + report + ":";
  switch (end) {
    case RunEnd::completed:
      return "The run finished.";
    case RunEnd::stopped:
      return "The run was stopped before its end." +
             (report.empty() ? std::string(" No report was written.")
                             : where + " incomplete, marked so on its last line.");
    case RunEnd::failed:
      return "The run failed" + (place.empty() ? std::string(".") : ": " + place + ".") +
             (report.empty() ? std::string() : where + " incomplete, marked so on its last line.");
  }
  return {};
}

int32_t session_exit_code(bool any_stopped, int32_t last_exit_code) {
  return any_stopped ? stopped_exit_code : last_exit_code;
}

}  // namespace desktop
