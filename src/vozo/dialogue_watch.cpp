// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/dialogue_watch.h"

namespace vozo {
namespace {

std::string_view trimmed(std::string_view s) {
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) {
    s.remove_suffix(1);
  }
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return s;
}

constexpr std::string_view enter = "Enter ";
constexpr std::string_view file_name = " file name";
constexpr std::string_view new_value = "New value =";

}  // namespace

void DialogueWatch::record(std::string_view text) {
  const std::string_view line = trimmed(text);
  if (line.starts_with(enter) && line.ends_with(file_name)) {
    const std::string_view role =
        line.substr(enter.size(), line.size() - enter.size() - file_name.size());
    report_question_ = role == "OUTPUT";
    question_ = report_question_ ? FileQuestion::save_file : FileQuestion::open_file;
    return;
  }
  if (line.starts_with(new_value)) {
    const std::string name(trimmed(line.substr(new_value.size())));
    if (question_ != FileQuestion::none) file_names_.push_back(name);
    if (report_question_) report_name_ = name;
    report_question_ = false;
    question_ = FileQuestion::none;
  }
}

}  // namespace vozo
