// Writing a result file whole or not at all.
#pragma once

#include <filesystem>
#include <string>

namespace results {

// Writes `text` to `path` through a temporary file in the same folder, renamed into place
// only once it is complete, so that a failed write leaves neither a partial file nor a
// damaged earlier one; throws std::runtime_error naming the file when it cannot.
void write_file(const std::filesystem::path& path, const std::string& text);

}  // namespace results
