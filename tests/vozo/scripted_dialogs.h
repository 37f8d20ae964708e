// SPDX-License-Identifier: GPL-3.0-or-later
// Save dialogs answered from a script, a scratch directory and a whole-file reader,
// shared by the console and graphics save tests.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "vozo/save_commands.h"
#include "vozo/user_prompts.h"

namespace vozo::testing {

inline std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// A fresh directory under the system's temporary directory, removed with its contents.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "vozo-test-XXXXXX").string();
    path_ = ::mkdtemp(pattern.data());
  }
  ~TempDir() { std::filesystem::remove_all(path_); }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::vector<std::string> names() const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      found.push_back(entry.path().filename().string());
    }
    return found;
  }

 private:
  std::filesystem::path path_;
};

// Questions answered with `answer`; text and bitmap save dialogs and Browse's file
// dialog confirm `chosen_path`, or are cancelled while it is empty.
class ScriptedDialogs : public Dialogs {
 public:
  Answer ask(std::string_view text) override {
    questions.emplace_back(text);
    return answer;
  }
  bool save_text_dialog(SaveDialogRequest& request) override { return confirm(request); }
  bool save_bitmap_dialog(SaveDialogRequest& request) override { return confirm(request); }
  bool file_dialog(BrowseRequest& request) override {
    browses.push_back(request);
    request.path = chosen_path;
    return !chosen_path.empty();
  }
  void warn(std::string_view text) override { warnings.emplace_back(text); }

  Answer answer = Answer::cancel;
  std::string chosen_path;
  std::vector<std::string> questions;
  std::vector<SaveDialogRequest> requests;
  std::vector<BrowseRequest> browses;
  std::vector<std::string> warnings;

 private:
  bool confirm(SaveDialogRequest& request) {
    requests.push_back(request);
    if (chosen_path.empty()) return false;
    request.path = chosen_path;
    request.file_title = std::filesystem::path(chosen_path).filename().string();
    return true;
  }
};

// The answers to "Save changes to ...?" on a modified window, console or graphics: whether
// the save dialog then confirms, what becomes of the window and whether a file is written.
struct ClosePromptCase {
  Answer answer;
  bool dialog_confirms;
  CloseDecision decision;
  bool written;
};
inline constexpr ClosePromptCase close_prompt_cases[] = {
    {Answer::no, true, CloseDecision::close, false},
    {Answer::cancel, true, CloseDecision::keep, false},
    {Answer::yes, true, CloseDecision::close, true},
    // Yes, then the save dialog cancelled: the window and its contents stay.
    {Answer::yes, false, CloseDecision::keep, false},
};

}  // namespace vozo::testing
