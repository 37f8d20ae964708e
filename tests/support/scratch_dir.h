// SPDX-License-Identifier: GPL-3.0-or-later
// A scratch folder for the files of one test, and the writing of a file's bytes.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace test_support {

class ScratchDir {
 public:
  // A fresh folder <parent>/<prefix>XXXXXX; it goes, with all it holds, with the object.
  explicit ScratchDir(const std::string& prefix = "gemino-io-",
                      const std::filesystem::path& parent = std::filesystem::temp_directory_path());
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  // The folder's path, without a closing slash.
  const std::string& path() const { return path_; }
  // The path of a file in the folder; file("") is the folder with a closing slash.
  std::string file(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes exactly these bytes to the file, replacing what it held.
void put(const std::string& path, std::string_view bytes);

}  // namespace test_support
