// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/site_info.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

#include <nlohmann/json.hpp>

namespace cli {

namespace {

// A site description is a few lines; anything near this is not one.
constexpr std::size_t largest_description = 1 << 20;

std::string number_text(const nlohmann::json& v) {
  return v.is_string() ? "\"" + v.get<std::string>() + "\"" : v.dump();
}

// The member `key` as a number within [low, high] (bounds included unless the open flag
// says otherwise), or a problem.
std::string number_member(const nlohmann::json& j, const char* key, double low, double high,
                          bool low_open, std::optional<double>& out) {
  if (!j.contains(key)) return {};
  const nlohmann::json& v = j.at(key);
  if (!v.is_number()) return std::string(key) + " must be a number, not " + number_text(v);
  const double x = v.get<double>();
  const bool above_low = low_open ? x > low : x >= low;
  if (!std::isfinite(x) || !above_low || x > high) {
    return std::string(key) + " must be " + (low_open ? "above " : "from ") +
           nlohmann::json(low).dump() + (low_open ? " and up to " : " to ") +
           nlohmann::json(high).dump() + ", not " + v.dump();
  }
  out = x;
  return {};
}

}  // namespace

SiteRead parse_site_info(const std::string& text) {
  const nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
  if (j.is_discarded()) return {{}, "not valid JSON"};
  if (!j.is_object()) return {{}, "must hold a JSON object"};
  for (const auto& [key, value] : j.items()) {
    if (key != "name" && key != "lon" && key != "lat" && key != "depth_m" && key != "crss_mpa") {
      return {{}, "holds \"" + key + "\", which is none of name, lon, lat, depth_m, crss_mpa"};
    }
  }
  for (const char* key : {"name", "lon", "lat"}) {
    if (!j.contains(key)) return {{}, std::string("lacks ") + key};
  }
  if (!j.at("name").is_string()) return {{}, "name must be a string, not " + j.at("name").dump()};
  SiteInfo info;
  info.name = j.at("name").get<std::string>();
  std::optional<double> lon;
  std::optional<double> lat;
  for (const std::string& problem :
       {number_member(j, "lon", -180.0, 180.0, false, lon),
        number_member(j, "lat", -90.0, 90.0, false, lat),
        number_member(j, "depth_m", -1e7, 1e7, false, info.depth_m),
        number_member(j, "crss_mpa", 0.0, 1e30, true, info.crss_mpa)}) {
    if (!problem.empty()) return {{}, problem};
  }
  info.lon = *lon;
  info.lat = *lat;
  return {info, {}};
}

SiteRead read_site_info(const std::filesystem::path& folder) {
  const std::filesystem::path path = folder / site_description;
  const std::string shown = path.string();
  // Never waits on a pipe or reads a device: only a regular file is read.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT) return {};
    return {{}, shown + ": " + std::strerror(errno)};
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return {{}, shown + " is not a regular file"};
  }
  std::string text;
  char buf[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int error = errno;
      ::close(fd);
      return {{}, shown + ": " + std::strerror(error)};
    }
    if (n == 0) break;
    text.append(buf, static_cast<std::size_t>(n));
    if (text.size() > largest_description) {
      ::close(fd);
      return {{}, shown + " is too large for a site description"};
    }
  }
  ::close(fd);
  SiteRead read = parse_site_info(text);
  if (!read.problem.empty()) read.problem = shown + ": " + read.problem;
  return read;
}

}  // namespace cli
