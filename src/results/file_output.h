// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a result file whole or not at all.
#pragma once

#include <filesystem>
#include <string>

namespace results {

// Writes `text` to `path` through a temporary file in the same folder, renamed into place
// only once it is complete (safe_file/safe_file.h), so that a failed write leaves neither a
// partial file nor a damaged earlier one; throws std::runtime_error with a one-line message
// naming the file and the reason when it cannot.
void write_file(const std::filesystem::path& path, const std::string& text);

}  // namespace results
