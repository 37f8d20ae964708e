// SPDX-License-Identifier: GPL-3.0-or-later
#include "safe_file/same_file.h"

#include <sys/stat.h>

namespace safe_file {

namespace {

namespace fs = std::filesystem;

bool same_inode(const fs::path& a, const fs::path& b) {
  struct stat sa {};
  struct stat sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

}  // namespace

fs::path normal_path(const fs::path& p) {
  std::error_code ec;
  fs::path out = fs::absolute(p, ec).lexically_normal();
  if (ec) out = p.lexically_normal();
  if (!out.has_filename() && out.has_parent_path() && out != out.root_path()) {
    out = out.parent_path();
  }
  return out;
}

bool same_file(const fs::path& a, const fs::path& b) {
  const fs::path na = normal_path(a);
  const fs::path nb = normal_path(b);
  if (na == nb || same_inode(na, nb)) return true;
  return na.filename() == nb.filename() && same_inode(na.parent_path(), nb.parent_path());
}

}  // namespace safe_file
