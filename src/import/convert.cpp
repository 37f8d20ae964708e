// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/convert.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "import/plane_table.h"
#include "safe_file/safe_file.h"

namespace data_import {

namespace {

std::string where(const std::string& name, const Place& place) {
  if (place.line <= 0) return name + ": ";
  return name + ":" + std::to_string(place.line) + ":" + std::to_string(place.column) + ": ";
}

std::string map_text(const LegacyFiles& data) {
  std::string text = "source_block,source_grain,file,block,grain\n";
  for (const Placement& p : data.placements) {
    text += (p.source_block > 0 ? std::to_string(p.source_block) : std::string()) + "," +
            std::to_string(p.source_grain) + "," + std::to_string(p.file + 1) + "," +
            std::to_string(p.block) + "," + std::to_string(p.grain) + "\n";
  }
  return text;
}

bool same_file(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

std::vector<std::string> split_names(const std::string& output, std::size_t count) {
  if (count == 1) return {output};
  const std::size_t slash = output.find_last_of('/');
  const std::size_t dot = output.find_last_of('.');
  const bool has_extension =
      dot != std::string::npos && dot > 0 && (slash == std::string::npos || dot > slash + 1);
  const std::string stem = has_extension ? output.substr(0, dot) : output;
  const std::string extension = has_extension ? output.substr(dot) : std::string();
  std::vector<std::string> names;
  for (std::size_t k = 1; k <= count; ++k) {
    names.push_back(stem + "-" + std::to_string(k) + extension);
  }
  return names;
}

std::string Conversion::summary() const {
  std::ostringstream s;
  char rounding[160];
  std::snprintf(rounding, sizeof rounding,
                "largest change from rounding to whole degrees: c-axis %.2f, pole %.2f, glide "
                "%.2f degrees\n",
                data.c_axis_change, data.pole_change, data.glide_change);
  s << "converted " << (form.front() == 'E' ? "an " : "a ") << form << ": " << data.grain_count
    << " grains, " << data.plane_count << " planes\n";
  for (const std::string& f : files) s << "wrote " << f << "\n";
  s << rounding;
  if (data.renumbered) {
    s << "grains or blocks are numbered otherwise than in the table"
      << (grain_map.empty() ? "" : " (see the grain map)") << "\n";
  }
  return s.str();
}

Outcome convert_text(std::string_view csv, const std::string& input_name, const std::string& output,
                     const Options& options) {
  Outcome outcome;
  try {
    const Table table = parse_csv(csv);
    GrainSet set;
    if (is_plane_table(table) && is_grain_table(table)) {
      throw InputError({},
                       "the header names columns of both a plane table and an EBSD grain "
                       "table");
    } else if (is_plane_table(table)) {
      set = read_plane_table(table);
    } else if (is_grain_table(table)) {
      set = read_grain_table(table, options.declarations);
    } else {
      throw InputError({},
                       "the header row names neither a plane table (grain, c_trend, c_plunge, "
                       "pole_trend, pole_plunge, twinned) nor an EBSD grain table (grain, "
                       "phi1, Phi, phi2, e1, e2, e3)");
    }
    Conversion c;
    c.form = set.form;
    c.data = write_legacy(set, options.split);
    c.files = split_names(output, c.data.texts.size());
    c.grain_map = map_text(c.data);
    outcome.conversion = std::move(c);
  } catch (const InputError& e) {
    outcome.error = where(input_name, e.place()) + e.what();
  }
  return outcome;
}

Outcome convert_file(const std::string& input, const std::string& output, const Options& options) {
  std::ifstream in(input, std::ios::binary);
  if (!in) return {std::nullopt, "cannot read " + input + ": " + std::strerror(errno)};
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) return {std::nullopt, "cannot read " + input};
  Outcome outcome = convert_text(bytes.str(), input, output, options);
  if (!outcome.ok()) return outcome;
  const Conversion& c = *outcome.conversion;

  std::vector<std::pair<std::string, const std::string*>> targets;
  for (std::size_t k = 0; k < c.files.size(); ++k)
    targets.emplace_back(c.files[k], &c.data.texts[k]);
  if (!options.grain_map.empty()) targets.emplace_back(options.grain_map, &c.grain_map);
  for (const auto& [path, text] : targets) {
    if (same_file(path, input)) {
      return {std::nullopt, "cannot write " + path + ": it is the table being converted"};
    }
    int error = 0;
    const std::string refused = safe_file::refusal(path, error);
    if (!refused.empty()) return {std::nullopt, "cannot write " + path + ": " + refused};
  }
  std::vector<std::string> written;
  for (const auto& [path, text] : targets) {
    const safe_file::Outcome w = safe_file::write_file(path, *text);
    if (!w.ok()) {
      // Files of this conversion already written would be a partial result.
      for (const std::string& done : written) std::remove(done.c_str());
      return {std::nullopt, safe_file::message(path, w)};
    }
    written.push_back(path);
  }
  return outcome;
}

}  // namespace data_import
