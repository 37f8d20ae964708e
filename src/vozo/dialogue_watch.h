// SPDX-License-Identifier: GPL-3.0-or-later
// What the console dialogue is about, read from the program's own records: whether the
// question now waiting asks for a file name (one to read, or the report to write), and
// the name the report was given. The Browse command and the end-of-run status use it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vozo {

enum class FileQuestion { none, open_file, save_file };

class DialogueWatch {
 public:
  // One output record of the default console (its CR LF may be there or not).
  void record(std::string_view text);
  // The file question the latest prompt asked; none once it was answered.
  FileQuestion question() const { return question_; }
  // The report's name as the program took it ("New value = ..." after the OUTPUT
  // question); empty before.
  const std::string& report_name() const { return report_name_; }
  // Every name the program took for a file question, in order (one that did not open
  // and was asked again included).
  const std::vector<std::string>& file_names() const { return file_names_; }

 private:
  FileQuestion question_ = FileQuestion::none;
  bool report_question_ = false;
  std::string report_name_;
  std::vector<std::string> file_names_;
};

}  // namespace vozo
