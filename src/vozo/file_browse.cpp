// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/file_browse.h"

#include <filesystem>
#include <system_error>

namespace vozo {
namespace {

namespace fs = std::filesystem;

// "/a/b/" and "/a/b" name the same folder; only the second compares as a prefix.
fs::path folder_path(std::string_view folder) {
  fs::path f = fs::path(folder).lexically_normal();
  if (!f.has_filename() && f.has_relative_path()) f = f.parent_path();
  return f;
}

// The path of file relative to folder, when it lies inside it.
std::optional<fs::path> inside(const fs::path& file, const fs::path& folder) {
  const fs::path relative = file.lexically_relative(folder);
  if (relative.empty() || relative == "." || *relative.begin() == "..") return std::nullopt;
  return relative;
}

// The same path with its folder's symbolic links resolved; the file itself may not
// exist yet (a new report).
fs::path resolved(const fs::path& file) {
  std::error_code error;
  const fs::path folder = fs::weakly_canonical(file.parent_path(), error);
  return error ? file : folder / file.filename();
}

}  // namespace

bool browse_available(FileQuestion question, bool reading) {
  return reading && question != FileQuestion::none;
}

std::optional<std::string> browse_answer(std::string_view chosen, std::string_view folder) {
  if (chosen.empty() || chosen.find_first_of("\r\n") != std::string_view::npos) {
    return std::nullopt;
  }
  const fs::path file = fs::path(chosen).lexically_normal();
  if (file.is_relative() || folder.empty()) return file.string();
  const fs::path base = folder_path(folder);
  if (const auto relative = inside(file, base)) return relative->string();
  std::error_code error;
  const fs::path real_base = fs::weakly_canonical(base, error);
  if (!error) {
    if (const auto relative = inside(resolved(file), real_base)) return relative->string();
  }
  return file.string();
}

std::optional<std::string> run_browse(FileQuestion question, std::string_view folder,
                                      Dialogs& dialogs) {
  if (question == FileQuestion::none) return std::nullopt;
  BrowseRequest request;
  request.save = question == FileQuestion::save_file;
  request.directory = std::string(folder);
  if (!dialogs.file_dialog(request)) return std::nullopt;
  std::optional<std::string> answer = browse_answer(request.path, folder);
  if (!answer) dialogs.warn("A file name holding a line end cannot be given as an answer.");
  return answer;
}

}  // namespace vozo
