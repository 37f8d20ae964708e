// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/run_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

#include "gral/inchardef.h"
#include "safe_file/safe_file.h"

namespace cli {

namespace {

constexpr std::size_t tab_width = 8;

bool starts_with(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The first bytes of a file: enough for every signature, never the whole of a large file.
std::string head_of(const std::filesystem::path& path, int& error) {
  error = 0;
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = errno;
    return {};
  }
  std::array<char, 256> buffer{};
  std::size_t filled = 0;
  while (filled < buffer.size()) {
    const ssize_t n = ::read(fd, buffer.data() + filled, buffer.size() - filled);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = errno;
    if (n <= 0) break;
    filled += static_cast<std::size_t>(n);
  }
  ::close(fd);
  return std::string(buffer.data(), filled);
}

}  // namespace

std::optional<std::string> console_file_name(std::string_view answer) {
  const std::size_t lf = answer.find('\n');
  if (lf != std::string_view::npos) answer = answer.substr(0, lf);
  std::string name;
  for (char c : answer) {
    if (c == '\r') continue;
    if (c == '\t') {
      name.append(tab_width - name.size() % tab_width, ' ');
    } else {
      name.push_back(c);
    }
  }
  if (name.empty() || name.front() == ' ') return std::nullopt;
  if (name.size() > gral::reply_capacity) name.resize(gral::reply_capacity);
  name.erase(name.find_last_not_of(' ') + 1);
  return name;
}

bool written_by_us(std::string_view head) {
  // The JSON opens with its schema version, as results::to_json orders it.
  if (starts_with(head, "{")) {
    const std::size_t key = head.find_first_not_of(" \t\r\n", 1);
    return key != std::string_view::npos && starts_with(head.substr(key), "\"schema_version\"");
  }
  static constexpr std::string_view signatures[] = {
      "number,grain,block,twinned,",  // the planes CSV
      "resample,sigma1_trend,",       // the bootstrap's resamples CSV
      "<?xml",
      "<svg",
      "%PDF-",
      "\x89PNG\r\n\x1a\n",
  };
  for (std::string_view s : signatures) {
    if (starts_with(head, s)) return true;
  }
  return false;
}

std::string clear_earlier_outputs(const std::vector<std::filesystem::path>& outputs) {
  std::vector<std::filesystem::path> earlier;
  for (const std::filesystem::path& path : outputs) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) continue;  // nothing there (or the write will say)
    int error = 0;
    const std::string refused = safe_file::refusal(path.string(), error);
    if (error != 0) return "cannot write " + path.string() + ": " + refused;
    const std::string head = head_of(path, error);
    if (error != 0) return "cannot read " + path.string() + ": " + std::strerror(error);
    if (!written_by_us(head)) {
      return path.string() + " is not an output of gemino-term: it is neither replaced nor removed";
    }
    earlier.push_back(path);
  }
  for (const std::filesystem::path& path : earlier) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
      return "cannot remove the earlier " + path.string() + ": " + std::strerror(errno);
    }
  }
  return {};
}

}  // namespace cli
