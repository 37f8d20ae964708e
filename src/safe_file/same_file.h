// SPDX-License-Identifier: GPL-3.0-or-later
// Whether two names given to the program are one file, however they are spelled.
#pragma once

#include <filesystem>

namespace safe_file {

// The absolute, lexically normal form of a name ("site/" and "site" are one folder).
std::filesystem::path normal_path(const std::filesystem::path& p);

// Whether two names are one file: the same absolute, lexically normal path, the same
// device and inode where both exist, or the same name in one existing folder (a file still
// to be made, reached through two spellings of its folder).
bool same_file(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace safe_file
