// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/plane_table.h"

#include <cstdio>
#include <map>
#include <utility>

#include "import/row_reader.h"

namespace data_import {

namespace {

constexpr std::string_view form = "plane table";

std::string line_text(const Vec& v) {
  const TrendPlunge tp = trend_plunge(v);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%.2f/%.2f", tp.trend, tp.plunge);
  return buf;
}

}  // namespace

bool is_plane_table(const Table& table) {
  return column_index(table, "pole_trend") >= 0;
}

GrainSet read_plane_table(const Table& table) {
  check_columns(table, {"grain", "c_trend", "c_plunge", "pole_trend", "pole_plunge", "twinned"},
                {"block", "twin_count", "grain_size_um"}, form);
  const int32_t grain = column_index(table, "grain");
  const int32_t c_trend = column_index(table, "c_trend");
  const int32_t c_plunge = column_index(table, "c_plunge");
  const int32_t pole_trend = column_index(table, "pole_trend");
  const int32_t pole_plunge = column_index(table, "pole_plunge");
  const int32_t twinned = column_index(table, "twinned");
  const int32_t block = column_index(table, "block");
  const int32_t twin_count = column_index(table, "twin_count");
  const int32_t grain_size = column_index(table, "grain_size_um");

  GrainSet set;
  set.form = std::string(form);
  set.has_blocks = block >= 0;
  std::map<std::pair<int32_t, int64_t>, std::size_t> index;  // (block, grain) -> grains[]
  for (const Row& row : table.rows) {
    const RowReader r(row);
    const int64_t id = r.whole(grain, "grain", 1, INT32_MAX);
    const int32_t b = block >= 0 ? static_cast<int32_t>(r.whole(block, "block", 1, 999)) : 0;
    const Vec c = line_vector(r.real(c_trend, "c_trend", 0.0, 360.0),
                              r.real(c_plunge, "c_plunge", 0.0, 90.0));
    SourcePlane plane;
    plane.pole = line_vector(r.real(pole_trend, "pole_trend", 0.0, 360.0),
                             r.real(pole_plunge, "pole_plunge", 0.0, 90.0));
    plane.twinned = r.twinned(twinned, "twinned");
    plane.place = r.place(0);
    if (r.has(twin_count)) {
      const int64_t count = r.whole(twin_count, "twin_count", 0, INT32_MAX);
      if (count > 0 && !plane.twinned) {
        throw InputError(r.place(twin_count),
                         "twin_count " + std::to_string(count) + " on a plane marked untwinned");
      }
    }
    if (r.has(grain_size)) r.real(grain_size, "grain_size_um", 0.0, 1e9);
    if (angle_between_lines(c, plane.pole) < same_direction_degrees) {
      throw InputError(r.place(pole_trend),
                       "the pole lies along the c-axis: the plane has no glide direction");
    }

    const auto key = std::make_pair(b, id);
    auto found = index.find(key);
    if (found == index.end()) {
      SourceGrain g;
      g.id = id;
      g.block = b;
      g.c_axis = c;
      g.place = r.place(grain);
      found = index.emplace(key, set.grains.size()).first;
      set.grains.push_back(g);
    }
    SourceGrain& g = set.grains[found->second];
    const std::string which = "grain " + std::to_string(id);
    if (angle_between_lines(g.c_axis, c) > same_direction_degrees) {
      throw InputError(r.place(c_trend), which + " was given the c-axis " + line_text(g.c_axis) +
                                             " on line " + std::to_string(g.place.line) +
                                             ", here " + line_text(c));
    }
    for (const SourcePlane& p : g.planes) {
      if (angle_between_lines(p.pole, plane.pole) < same_direction_degrees) {
        throw InputError(r.place(pole_trend),
                         which + " has this plane already on line " + std::to_string(p.place.line));
      }
    }
    if (static_cast<int32_t>(g.planes.size()) >= max_planes_per_grain) {
      throw InputError(r.place(grain), which + " has more than three planes");
    }
    g.planes.push_back(plane);
  }
  return set;
}

}  // namespace data_import
