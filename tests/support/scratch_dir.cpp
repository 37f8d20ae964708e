// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scratch_dir.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>
#include <system_error>

namespace test_support {

ScratchDir::ScratchDir(const std::string& prefix, const std::filesystem::path& parent) {
  std::string pattern = (parent / (prefix + "XXXXXX")).string();
  if (::mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("cannot make a scratch folder " + pattern);
  }
  path_ = pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void put(const std::string& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

}  // namespace test_support
