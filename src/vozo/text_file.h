// Saved console text: each stored line's bytes (UTF-8 as typed, output as written)
// followed by CR LF, nothing else — unless the store had to refuse text, which a last
// line then says. A
// save goes to a temporary file beside the target, which replaces the target only
// once every byte is written, so a failed save leaves an earlier file intact.
#pragma once

#include <string>
#include <string_view>

namespace vozo {

class LineStore;

// The line that ends a saved text when the console could not keep all of it.
inline constexpr std::string_view text_not_kept_line =
    "[Text was not kept: the console's store was full.]";

// The bytes a save writes.
std::string text_file_bytes(const LineStore& store);

enum class SaveResult { ok, cannot_create, write_error };
SaveResult save_text_file(const std::string& path, const LineStore& store);
// The same for any bytes (the bitmap save uses it too).
SaveResult save_file_bytes(const std::string& path, std::string_view bytes);

inline constexpr std::string_view cannot_create_message = "Cannot create file";
inline constexpr std::string_view write_error_message = "I/O error while writing file";

}  // namespace vozo
