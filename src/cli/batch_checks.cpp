// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/batch_checks.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>

#include "cli/batch.h"
#include "cli/extension.h"
#include "cli/same_file.h"
#include "cli/site_info.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

// An argument that names a file: not an option, and with an extension of letters
// ("stereonet.svg"), which a count, a seed or a range never has.
bool names_file(const std::string& arg) {
  if (arg.empty() || arg[0] == '-') return false;
  const std::string ext = fs::path(arg).extension().string();
  return ext.size() > 1 && std::all_of(ext.begin() + 1, ext.end(), [](char c) {
           return std::isalpha(static_cast<unsigned char>(c)) != 0;
         });
}

const char* kind_of(mode_t mode) {
  if (S_ISLNK(mode)) return "a symbolic link";
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  return "not a regular file";
}

// A folder nobody may write in: no write bit at all (which even the superuser's access()
// passes), or one this process may not write in.
bool read_only_folder(const fs::path& folder, const struct stat& st) {
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
         ::access(folder.c_str(), W_OK | X_OK) != 0;
}

}  // namespace

std::vector<std::string> site_files(const std::vector<std::string>& site_args) {
  std::vector<std::string> files = {site_params, site_data, site_description,
                                    site_report, site_json, site_console};
  for (const std::string& arg : site_args) {
    if (names_file(arg) && std::find(files.begin(), files.end(), arg) == files.end()) {
      files.push_back(arg);
    }
  }
  return files;
}

std::string batch_usage_problem(const std::vector<std::string>& sites, const std::string& summary,
                                const std::vector<std::string>& files, const char* option) {
  for (std::size_t i = 0; i < sites.size(); ++i) {
    for (std::size_t j = 0; j < i; ++j) {
      if (same_file(sites[i], sites[j])) {
        return "--batch names the site " + sites[j] + " twice (also as " + sites[i] +
               "): its runs would write the same files at once";
      }
    }
  }
  if (summary.empty()) return {};
  const fs::path folder = normal_path(summary).parent_path();
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    return std::string(option) + " " + summary + ": the folder " + folder.string() +
           " does not exist";
  }
  for (const std::string& site : sites) {
    for (const std::string& file : files) {
      if (same_file(summary, fs::path(site) / file)) {
        return std::string(option) + " " + summary + " is " + file + " of the site " + site;
      }
    }
  }
  return {};
}

std::string summary_target_problem(const std::string& summary, const char* what) {
  struct stat st {};
  if (::lstat(summary.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    return "cannot write " + std::string(what) + " " + summary + ": it is " + kind_of(st.st_mode);
  }
  const fs::path folder = normal_path(summary).parent_path();
  struct stat fst {};
  if (::stat(folder.c_str(), &fst) == 0 && read_only_folder(folder, fst)) {
    return "cannot write " + std::string(what) + " " + summary + ": its folder is read-only";
  }
  return {};
}

SiteCheck check_site(const fs::path& folder, const std::vector<std::string>& files) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return {exit_no_input, {}};
  for (const char* input : {site_params, site_data}) {
    struct stat in {};
    if (::stat((folder / input).c_str(), &in) != 0 || !S_ISREG(in.st_mode)) {
      return {exit_no_input, {}};
    }
  }
  if (read_only_folder(folder, st)) {
    return {exit_cant_create, "the site folder " + folder.string() + " is read-only"};
  }
  for (const std::string& file : files) {
    if (file == site_params || file == site_data || file == site_description) continue;
    const fs::path path = folder / file;
    struct stat out {};
    if (::lstat(path.c_str(), &out) != 0) {
      if (errno == ENOENT) continue;
      return {exit_cant_create, path.string() + ": " + std::strerror(errno)};
    }
    if (!S_ISREG(out.st_mode)) {
      return {exit_cant_create,
              path.string() + " is " + kind_of(out.st_mode) + ", not a file the run may write"};
    }
  }
  return {};
}

}  // namespace cli
