// SPDX-License-Identifier: GPL-3.0-or-later
// Saved console text: each stored line's bytes (UTF-8 as typed, output as written)
// followed by CR LF, nothing else — unless the store had to refuse text, which a last
// line then says. A
// save goes to a temporary file beside the target, which replaces the target only
// once every byte is written, so a failed save leaves an earlier file intact
// (safe_file/safe_file.h: a link, a FIFO, a device, a folder or a read-only file in the
// target's place is refused).
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

// cannot_create: the target was refused or no temporary could be made; write_error: the
// bytes could not be written or put in place. Either way errno holds the system's reason.
enum class SaveResult { ok, cannot_create, write_error };
SaveResult save_text_file(const std::string& path, const LineStore& store);
// The same for any bytes (the bitmap save uses it too).
SaveResult save_file_bytes(const std::string& path, std::string_view bytes);

inline constexpr std::string_view cannot_create_message = "Cannot create file";
inline constexpr std::string_view write_error_message = "I/O error while writing file";

// What a failed save tells the user: the message of the result, then the file and the
// system's reason when there is one ("Cannot create file /a/b.txt: Permission denied").
std::string save_failure_text(SaveResult result, const std::string& path, int reason);

}  // namespace vozo
