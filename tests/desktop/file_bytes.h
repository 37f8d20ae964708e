// SPDX-License-Identifier: GPL-3.0-or-later
// Reads a whole file's bytes ("" when it cannot be read).
#pragma once

#include <fstream>
#include <iterator>
#include <string>

inline std::string read_bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
