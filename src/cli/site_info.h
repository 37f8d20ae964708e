// SPDX-License-Identifier: GPL-3.0-or-later
// What a batch site may say about itself in site.json: its name, where it lies, and the
// CRSS its magnitudes use. The file is optional; one that is there must be sound, or the
// site is not run.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace cli {

inline constexpr const char* site_description = "site.json";

// Exit code of a site not run because its site.json cannot be used.
inline constexpr int exit_bad_site = 65;

struct SiteInfo {
  std::string name;
  double lon = 0.0;  // degrees east, -180 to 180
  double lat = 0.0;  // degrees north, -90 to 90
  std::optional<double> depth_m;
  std::optional<double> crss_mpa;  // the site's own CRSS, positive
};

// A site's description, or why there is none to use: `problem` is empty when the text is
// sound (then `info` holds it).
struct SiteRead {
  std::optional<SiteInfo> info;
  std::string problem;
};

// Reads the text of a site.json: an object with a string `name`, numbers `lon` and `lat`
// within their ranges, and optionally a number `depth_m` and a positive number `crss_mpa`.
// Any other member is refused, so that a misspelt one is never quietly ignored.
SiteRead parse_site_info(const std::string& text);

// Reads site.json in a folder: no info and no problem when there is none; a problem when
// it is not a regular file, cannot be read, is too large or is not sound (the problem
// then names the file).
SiteRead read_site_info(const std::filesystem::path& folder);

}  // namespace cli
