// SPDX-License-Identifier: GPL-3.0-or-later
#include "vozo/text_file.h"

#include <cerrno>
#include <cstring>

#include "safe_file/safe_file.h"
#include "vozo/line_store.h"

namespace vozo {

std::string text_file_bytes(const LineStore& store) {
  std::string bytes;
  bytes.reserve(static_cast<size_t>(store.text_size() + 2 * store.line_count()));
  for (int32_t k = 1; k <= store.line_count(); ++k) {
    bytes += store.line(k);
    bytes += "\r\n";
  }
  // A transcript that lacks text says so rather than end as if complete.
  if (store.overflowed()) {
    bytes += text_not_kept_line;
    bytes += "\r\n";
  }
  return bytes;
}

SaveResult save_text_file(const std::string& path, const LineStore& store) {
  return save_file_bytes(path, text_file_bytes(store));
}

SaveResult save_file_bytes(const std::string& path, std::string_view bytes) {
  const safe_file::Outcome outcome = safe_file::write_file(path, bytes);
  // errno carries the system's reason to the message the caller shows.
  errno = outcome.error;
  switch (outcome.stage) {
    case safe_file::Stage::done:
      return SaveResult::ok;
    case safe_file::Stage::refused:
    case safe_file::Stage::create:
      return SaveResult::cannot_create;
    case safe_file::Stage::write:
    case safe_file::Stage::rename:
      break;
  }
  return SaveResult::write_error;
}

std::string save_failure_text(SaveResult result, const std::string& path, int reason) {
  std::string text(result == SaveResult::cannot_create ? cannot_create_message
                                                       : write_error_message);
  if (reason != 0) text += " " + path + ": " + std::strerror(reason);
  return text;
}

}  // namespace vozo
