// SPDX-License-Identifier: GPL-3.0-or-later
// The unit table: files opened by name, window units, and the console units.
#include "recfmt/units.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>

#include "recfmt/hooks.h"
#include "recfmt/messages.h"
#include "recfmt/statements.h"
#include "recfmt/unit.h"

namespace recfmt::detail {

void clean_line(std::string_view raw, std::string& record) {
  record.clear();
  for (char c : raw) {
    if (c == '\r') continue;
    if (c == '\t') {
      record.append(8 - record.size() % 8, ' ');
    } else {
      record.push_back(c);
    }
  }
}

std::string_view read_for_statement(Unit& unit, int32_t unit_number, std::string& record) {
  switch (unit.read_record(record)) {
    case ReadStatus::Ok:
      return {};
    case ReadStatus::End:
      if (unit.is_console()) report_and_stop("READ", unit_text(unit_number), past_end);
      return past_end;
    case ReadStatus::TooLong:
      report_and_stop("READ", unit_text(unit_number), record_too_long, unit.where(0));
    case ReadStatus::Error:
      break;
  }
  return read_failed;
}

void pump_messages() {
  if (auto pump = console_hooks().pump_messages) pump();
}

namespace {

// The console capacity of one input record: the longest record, then CR LF.
constexpr int32_t console_capacity = max_record_length + 2;

// A unit whose records travel through ConsoleRead and ConsoleWrite.
class HookUnit : public Unit {
 public:
  HookUnit(int32_t read_id, int32_t write_id, int32_t write_handle)
      : read_id_(read_id), write_id_(write_id), write_handle_(write_handle) {}

  ReadStatus read_record(std::string& record) override {
    // Only units that are read need the buffer; it is kept for the next record.
    buffer_.resize(console_capacity);
    int32_t n = console_hooks().console_read(buffer_.data(), console_capacity, read_id_);
    if (n < 0) return ReadStatus::TooLong;
    if (n == 0) return ReadStatus::End;
    n = std::min(n, console_capacity);
    std::string_view raw(buffer_.data(), static_cast<std::size_t>(n));
    const std::size_t lf = raw.find('\n');
    if (lf != std::string_view::npos) raw = raw.substr(0, lf);
    clean_line(raw, record);
    return ReadStatus::Ok;
  }

  bool write_record(std::string_view text) override {
    line_.assign(text);
    line_.append("\r\n");
    const int32_t count = static_cast<int32_t>(line_.size());
    return console_hooks().console_write(line_.data(), count, write_handle_, write_id_) > 0;
  }

  bool is_console() const override { return true; }

 private:
  int32_t read_id_, write_id_, write_handle_;
  std::string buffer_;
  std::string line_;
};

// A named regular file, read and written through our own buffers over the descriptor.
class FileUnit : public Unit {
 public:
  FileUnit(int fd, std::string name, const struct stat& st)
      : fd_(fd),
        name_(std::move(name)),
        device_(st.st_dev),
        inode_(st.st_ino),
        regular_(S_ISREG(st.st_mode)) {}
  ~FileUnit() override {
    flush();
    ::close(fd_);
  }

  ReadStatus read_record(std::string& record) override {
    if (!flush()) return ReadStatus::Error;
    while (true) {
      // Only the bytes not yet searched are searched: a long line costs linear time.
      const std::size_t lf = in_.find('\n', scanned_);
      if (lf != std::string::npos) return take(lf, lf + 1, record);
      scanned_ = in_.size();
      if (in_.size() - in_pos_ > static_cast<std::size_t>(max_record_length)) {
        return take(in_.size(), in_.size(), record);
      }
      if (at_end_) {
        // A last line without its line feed is still a record.
        if (in_pos_ >= in_.size()) {
          past_end_ = true;
          return ReadStatus::End;
        }
        return take(in_.size(), in_.size(), record);
      }
      in_.erase(0, in_pos_);
      scanned_ -= in_pos_;
      in_pos_ = 0;
      char chunk[65536];
      const ssize_t got = ::read(fd_, chunk, sizeof chunk);
      if (got < 0) {
        if (errno == EINTR) continue;
        return ReadStatus::Error;
      }
      if (got == 0) at_end_ = true;
      in_.append(chunk, static_cast<std::size_t>(got));
    }
  }

  bool write_record(std::string_view text) override {
    if (!writing_) {
      // The file ends after the last record written: cut it where writing begins, so no
      // old content survives beyond the new records.
      // (A device or a pipe has nothing to cut.)
      if (regular_) {
        const off_t here = ::lseek(fd_, 0, SEEK_CUR);
        if (here < 0) return false;
        const off_t pos = here - static_cast<off_t>(in_.size() - in_pos_);
        if (::lseek(fd_, pos, SEEK_SET) < 0 || ::ftruncate(fd_, pos) != 0) return false;
      }
      in_.clear();
      in_pos_ = 0;
      scanned_ = 0;
      at_end_ = true;
      writing_ = true;
    }
    out_.append(text);
    out_.append("\r\n");
    // Each record goes out at once: a failed write is then reported by the statement that
    // made it, and a run that ends abruptly leaves every record written so far.
    return flush();
  }

  std::string where(int32_t column) const override {
    if (past_end_) return "File " + name_ + ": end of file after line " + std::to_string(records_);
    return "File " + name_ + ", line " + std::to_string(records_) + ", column " +
           std::to_string(column + 1);
  }

  bool same_file(const struct stat& st) const {
    return st.st_dev == device_ && st.st_ino == inode_;
  }
  const std::string& name() const { return name_; }

  bool flush() {
    std::size_t done = 0;
    while (done < out_.size()) {
      const ssize_t n = ::write(fd_, out_.data() + done, out_.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        out_.clear();
        return false;
      }
      done += static_cast<std::size_t>(n);
    }
    out_.clear();
    return true;
  }

 private:
  // The record that ends at `end`; the next one starts at `next`.
  ReadStatus take(std::size_t end, std::size_t next, std::string& record) {
    ++records_;
    const bool too_long = end - in_pos_ > static_cast<std::size_t>(max_record_length);
    if (!too_long) clean_line(std::string_view(in_).substr(in_pos_, end - in_pos_), record);
    in_pos_ = next;
    scanned_ = next;
    return too_long ? ReadStatus::TooLong : ReadStatus::Ok;
  }

  int fd_;
  std::string name_;
  dev_t device_;
  ino_t inode_;
  bool regular_;
  std::string in_;
  std::size_t in_pos_ = 0;
  std::size_t scanned_ = 0;
  int32_t records_ = 0;
  bool at_end_ = false;
  bool past_end_ = false;
  bool writing_ = false;
  std::string out_;
};

std::map<int32_t, std::unique_ptr<Unit>>& table() {
  static std::map<int32_t, std::unique_ptr<Unit>> units;
  return units;
}

HookUnit& console_input() {
  static HookUnit unit(stdin_id, stdout_id, stdout_handle);
  return unit;
}
HookUnit& console_output() {
  static HookUnit unit(stdin_id, stdout_id, stdout_handle);
  return unit;
}
HookUnit& console_error() {
  static HookUnit unit(stdin_id, stderr_id, stderr_handle);
  return unit;
}

bool is_console_number(int32_t unit) {
  return unit == 5 || unit == 6 || unit == 0 || unit == 9 || unit == star;
}

std::string_view trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

}  // namespace

Unit* find_unit(int32_t unit, bool for_reading) {
  auto& units = table();
  if (auto it = units.find(unit); it != units.end()) return it->second.get();
  if (!is_console_number(unit)) return nullptr;
  if (for_reading) return &console_input();
  return unit == 0 ? &console_error() : &console_output();
}

}  // namespace recfmt::detail

namespace recfmt {

bool is_window_access(std::string_view access) {
  return access.size() >= 6 && detail::equals_ignoring_case(access.substr(0, 6), "WINDOW");
}

namespace {

using detail::equals_ignoring_case;

// Ends the connection of a unit, if it has one. A window unit's window stays open; what
// the hook answers changes nothing for the run.
void disconnect(int32_t unit) {
  auto& units = detail::table();
  auto it = units.find(unit);
  if (it == units.end()) return;
  const bool window = dynamic_cast<detail::HookUnit*>(it->second.get()) != nullptr;
  units.erase(it);
  if (window) (void)console_hooks().close_unit_window(unit);
}

}  // namespace

int32_t open(int32_t unit, std::string_view file, std::string_view status,
             std::string_view access) {
  detail::pump_messages();
  disconnect(unit);
  const std::string_view name = detail::trim(file);
  const std::string_view how = detail::trim(status);

  if (is_window_access(access)) {
    if (console_hooks().open_unit_window(unit, name, access) != 0) return 1;
    detail::table()[unit] = std::make_unique<detail::HookUnit>(unit, unit, window_handle);
    return 0;
  }

  if (name.empty() || name.find_first_of(std::string_view("?*\0", 3)) != std::string_view::npos) {
    return 1;
  }
  const bool old = equals_ignoring_case(how, "old");
  const bool replace = equals_ignoring_case(how, "replace");
  if (!old && !replace && !equals_ignoring_case(how, "unknown")) return 1;
  // A file connected to another unit is never opened for writing: the writes would
  // destroy the records being read.
  if (!old && unit_of_file(name) != 0) return 1;
  const std::string path(name);
  // Opening never waits (a FIFO with no writer would block here); reads and writes do
  // wait, as they should.
  const int base = O_CLOEXEC | O_NONBLOCK | (old ? 0 : O_CREAT);
  int fd = ::open(path.c_str(), O_RDWR | base, 0666);
  if (fd < 0 && old && (errno == EACCES || errno == EROFS || errno == ETXTBSY)) {
    // A file that may be read but not written is still read.
    fd = ::open(path.c_str(), O_RDONLY | base, 0666);
  }
  if (fd < 0) return errno != 0 ? errno : 1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode) ||
      ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0 ||
      (replace && S_ISREG(st.st_mode) && ::ftruncate(fd, 0) != 0)) {
    ::close(fd);
    return 1;
  }
  detail::table()[unit] = std::make_unique<detail::FileUnit>(fd, path, st);
  return 0;
}

int32_t unit_of_file(std::string_view file) {
  const std::string path(detail::trim(file));
  struct stat st {};
  const bool exists = ::stat(path.c_str(), &st) == 0;
  for (const auto& [number, unit] : detail::table()) {
    const auto* f = dynamic_cast<const detail::FileUnit*>(unit.get());
    if (f != nullptr && (f->name() == path || (exists && f->same_file(st)))) return number;
  }
  return 0;
}

void close(int32_t unit) {
  detail::pump_messages();
  disconnect(unit);
}

void close_all() {
  auto& units = detail::table();
  while (!units.empty()) disconnect(units.begin()->first);
  std::fflush(stdout);
  std::fflush(stderr);
}

bool is_connected(int32_t unit) {
  return detail::table().count(unit) != 0 || detail::is_console_number(unit);
}

}  // namespace recfmt
