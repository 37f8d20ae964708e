// SPDX-License-Identifier: GPL-3.0-or-later
#include "safe_file/safe_file.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "safe_file/interrupt_cleanup.h"

namespace safe_file {

namespace {

Outcome failed(Stage stage, int error, std::string reason = {}) {
  if (reason.empty()) reason = std::strerror(error);
  return {stage, error, std::move(reason)};
}

// The folder part of a path with its closing slash ("" for the current folder), and the
// name part.
std::string folder_of(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}
std::string name_of(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::size_t name_limit(const std::string& folder) {
  const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
  return limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
}

// Six letters or digits, different for every call of the process and across processes.
std::string random_suffix() {
  static std::atomic<unsigned long long> counter{0};
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  unsigned long long x = static_cast<unsigned long long>(now.tv_nsec) ^
                         (static_cast<unsigned long long>(now.tv_sec) << 20) ^
                         (static_cast<unsigned long long>(::getpid()) << 40) ^
                         (counter.fetch_add(1) * 0x9E3779B97F4A7C15ULL);
  // A final mix so that neighbouring counters give unrelated names.
  x ^= x >> 33;
  x *= 0xff51afd7ed558ccdULL;
  x ^= x >> 33;
  static constexpr char letters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  std::string out(6, '0');
  for (char& c : out) {
    c = letters[x % 62];
    x /= 62;
  }
  return out;
}

bool write_all(int fd, std::string_view bytes, int& error) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      error = errno;
      return false;
    }
    if (written == 0) {
      error = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// The test hook described in the header: once per process.
void hold_if_asked(const std::string& temporary) {
  static std::atomic<bool> held{false};
  const char* value = std::getenv("GEMINO_TEST_HOLD_TEMPORARY");
  if (value == nullptr || *value == '\0' || held.exchange(true)) return;
  const int fd = std::atoi(value);
  const std::string line = temporary + "\n";
  int ignored = 0;
  if (!write_all(fd, line, ignored)) return;
  char go_on = 0;
  while (::read(fd, &go_on, 1) < 0 && errno == EINTR) {
  }
}

void sync_folder(const std::string& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

std::string temporary_name(std::string_view target_name, std::string_view suffix,
                           std::size_t name_max) {
  const std::size_t fixed = 1 + temporary_marker.size() + suffix.size();
  std::size_t keep = target_name.size();
  if (fixed + keep > name_max) {
    keep = name_max > fixed ? name_max - fixed : 0;
    // Never half a UTF-8 character.
    while (keep > 0 && (static_cast<unsigned char>(target_name[keep]) & 0xC0) == 0x80) --keep;
  }
  std::string name = ".";
  name += target_name.substr(0, keep);
  name += temporary_marker;
  name += suffix;
  return name;
}

std::string refusal(const std::string& path, int& error) {
  error = 0;
  if (path.empty()) {
    error = ENOENT;
    return "no file name";
  }
  if (name_of(path).empty()) {
    error = EISDIR;
    return "is a folder";
  }
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) {
    if (errno == ENOENT) {
      // A missing folder is said as such; a missing file is simply new.
      const std::string folder = folder_of(path);
      struct stat fs {};
      if (folder.empty() || ::stat(folder.c_str(), &fs) == 0) return {};
    }
    error = errno;
    return std::strerror(error);
  }
  if (S_ISLNK(st.st_mode)) {
    error = ELOOP;
    return "is a symbolic link";
  }
  if (S_ISDIR(st.st_mode)) {
    error = EISDIR;
    return "is a folder";
  }
  if (!S_ISREG(st.st_mode)) {
    error = EINVAL;
    return "is not a regular file";
  }
  if ((st.st_mode & 0222) == 0) {
    error = EACCES;
    return "is read-only";
  }
  return {};
}

Outcome write_file(const std::string& path, std::string_view bytes) {
  int error = 0;
  std::string why = refusal(path, error);
  if (error != 0) return failed(Stage::refused, error, why);

  // The permission bits of the file replaced; a new file takes 0666 less the umask.
  struct stat st {};
  const bool replacing = ::stat(path.c_str(), &st) == 0;
  const std::string folder = folder_of(path);
  const std::size_t limit = name_limit(folder);

  std::string temporary;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    temporary = folder + temporary_name(name_of(path), random_suffix(), limit);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) return failed(Stage::create, errno);

  // Registered before anything can fail, so that a signal from here on removes it.
  const int slot = register_temporary(temporary.c_str());
  hold_if_asked(temporary);
  Outcome outcome;
  if (replacing && ::fchmod(fd, st.st_mode & 0777) != 0) outcome = failed(Stage::write, errno);
  if (outcome.ok() && !write_all(fd, bytes, error)) outcome = failed(Stage::write, error);
  if (outcome.ok() && ::fsync(fd) != 0) outcome = failed(Stage::write, errno);
  if (::close(fd) != 0 && outcome.ok()) outcome = failed(Stage::write, errno);
  if (outcome.ok() && ::rename(temporary.c_str(), path.c_str()) != 0) {
    outcome = failed(Stage::rename, errno);
  }
  if (!outcome.ok()) ::unlink(temporary.c_str());
  release_temporary(slot);
  if (outcome.ok()) sync_folder(folder);
  return outcome;
}

std::string message(const std::string& path, const Outcome& outcome) {
  return "cannot write " + path + ": " + outcome.reason;
}

}  // namespace safe_file
