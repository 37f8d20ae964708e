// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: a scratch folder for the files a target reads and writes,
// and a check that aborts with a message (libFuzzer then keeps the input as a crash).
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace gemino_fuzz {

// A folder under /tmp for the whole process, removed at its normal end. Its path is
// short on purpose: the run's console dialogue takes file names of up to 30 characters.
inline const std::string& scratch_dir() {
  static const std::string dir = [] {
    char tmpl[] = "/tmp/gfz-XXXXXX";
    if (::mkdtemp(tmpl) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    std::string path = tmpl;
    static const std::string removed_at_exit = path;
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(removed_at_exit, ec);
    });
    return path;
  }();
  return dir;
}

inline std::string scratch_file(std::string_view name) {
  return scratch_dir() + "/" + std::string(name);
}

inline void write_file(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) {
    std::perror(path.c_str());
    std::abort();
  }
}

inline std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline uintmax_t file_size(const std::string& path) {
  std::error_code ec;
  const uintmax_t n = std::filesystem::file_size(path, ec);
  return ec ? 0 : n;
}

// Aborts with a message when an invariant does not hold.
#define FUZZ_CHECK(cond)                                                            \
  do {                                                                              \
    if (!(cond)) {                                                                  \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                 \
    }                                                                               \
  } while (0)

// Reads the fuzz input from the front: bytes and small numbers, zero once used up.
class Bytes {
 public:
  Bytes(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  bool empty() const { return pos_ >= size_; }
  uint8_t byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  uint16_t u16() { return static_cast<uint16_t>(byte() | (byte() << 8)); }
  int32_t i32() {
    uint32_t v = 0;
    for (int k = 0; k < 4; ++k) v |= static_cast<uint32_t>(byte()) << (8 * k);
    return static_cast<int32_t>(v);
  }
  // Up to n bytes as text.
  std::string_view text(size_t n) {
    const size_t take = n < size_ - pos_ ? n : size_ - pos_;
    const std::string_view s(reinterpret_cast<const char*>(data_ + pos_), empty() ? 0 : take);
    pos_ += s.size();
    return s;
  }
  std::string_view rest() { return text(size_ - (pos_ < size_ ? pos_ : size_)); }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
};

}  // namespace gemino_fuzz
