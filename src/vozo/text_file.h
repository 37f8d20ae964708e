// Saved console text: each stored line's bytes followed by CR LF, nothing else. A
// save goes to a temporary file beside the target, which replaces the target only
// once every byte is written, so a failed save leaves an earlier file intact.
#pragma once

#include <string>
#include <string_view>

namespace vozo {

class LineStore;

// The bytes a save writes.
std::string text_file_bytes(const LineStore& store);

enum class SaveResult { ok, cannot_create, write_error };
SaveResult save_text_file(const std::string& path, const LineStore& store);
// The same for any bytes (the bitmap save uses it too).
SaveResult save_file_bytes(const std::string& path, std::string_view bytes);

inline constexpr std::string_view cannot_create_message = "Cannot create file";
inline constexpr std::string_view write_error_message = "I/O error while writing file";

}  // namespace vozo
