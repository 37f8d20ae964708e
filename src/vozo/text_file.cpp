#include "vozo/text_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

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

namespace {

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

}  // namespace

SaveResult save_file_bytes(const std::string& path, std::string_view bytes) {
  if (path.empty()) {
    errno = ENOENT;
    return SaveResult::cannot_create;
  }
  // The new text goes beside the old file first, so that the old one stays whole
  // until the new one is complete on disk.
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = path + ".~" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return SaveResult::cannot_create;
  bool ok = write_all(fd, bytes);
  ok = (::fsync(fd) == 0) && ok;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = std::rename(temporary.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temporary.c_str());
    return SaveResult::write_error;
  }
  return SaveResult::ok;
}

}  // namespace vozo
