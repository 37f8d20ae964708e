// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/grain_table.h"

#include <set>

#include "import/ebsd_frame.h"
#include "import/row_reader.h"

namespace data_import {

namespace {

constexpr std::string_view form = "EBSD grain table";

// One setting from the file's comments and the caller, the two agreeing when both are
// there. `parse` returns nullopt for a value it does not know.
template <typename T, typename Parse>
T declared(const Table& table, std::string_view key, std::string_view option,
           const std::string& given, std::string_view expected, Parse parse, std::string& missing) {
  const Setting* in_file = nullptr;
  std::optional<T> from_file;
  for (const Setting& s : table.settings) {
    if (s.key != key) continue;
    const std::optional<T> value = parse(s.value);
    if (!value) {
      throw InputError(s.place, std::string(key) + " must be " + std::string(expected) +
                                    ", not \"" + s.value + "\"");
    }
    if (from_file && *from_file != *value) {
      throw InputError(s.place, std::string(key) + " is declared \"" + in_file->value +
                                    "\" on line " + std::to_string(in_file->place.line) +
                                    " and \"" + s.value + "\" here");
    }
    in_file = &s;
    from_file = value;
  }
  std::optional<T> from_option;
  if (!given.empty()) {
    from_option = parse(given);
    if (!from_option) {
      throw InputError({}, std::string(option) + " must be " + std::string(expected) + ", not \"" +
                               given + "\"");
    }
  }
  if (from_file && from_option && *from_file != *from_option) {
    throw InputError(in_file->place, "the file declares " + std::string(key) + " \"" +
                                         in_file->value + "\" but " + std::string(option) +
                                         " says \"" + given + "\"");
  }
  if (from_file) return *from_file;
  if (from_option) return *from_option;
  missing += (missing.empty() ? "" : ", ") + std::string(key) + " (" + std::string(option) + ")";
  return T{};
}

}  // namespace

bool is_grain_table(const Table& table) {
  return column_index(table, "phi1") >= 0;
}

GrainSet read_grain_table(const Table& table, const Declarations& given) {
  check_columns(table, {"grain", "phi1", "phi", "phi2", "e1", "e2", "e3"}, {"grain_size_um"}, form);
  std::string missing;
  const auto euler =
      declared<EulerConvention>(table, "euler", "--euler", given.euler,
                                "bunge-passive or bunge-active", euler_named, missing);
  const auto frame =
      declared<CrystalFrame>(table, "crystal_frame", "--crystal-frame", given.crystal_frame,
                             "x=a or x=a*", crystal_frame_named, missing);
  const auto specimen = declared<std::array<double, 3>>(
      table, "specimen_to_geographic", "--specimen-to-geographic", given.specimen_to_geographic,
      "three angles in degrees", angles_named, missing);
  if (!missing.empty()) {
    throw InputError({}, "the EBSD grain table must declare its conventions; missing: " + missing);
  }

  const int32_t grain = column_index(table, "grain");
  const int32_t phi1 = column_index(table, "phi1");
  const int32_t Phi = column_index(table, "phi");
  const int32_t phi2 = column_index(table, "phi2");
  const int32_t e[3] = {column_index(table, "e1"), column_index(table, "e2"),
                        column_index(table, "e3")};
  const int32_t grain_size = column_index(table, "grain_size_um");

  GrainSet set;
  set.form = std::string(form);
  std::set<int64_t> seen;
  for (const Row& row : table.rows) {
    const RowReader r(row);
    SourceGrain g;
    g.id = r.whole(grain, "grain", 1, INT32_MAX);
    g.place = r.place(grain);
    if (!seen.insert(g.id).second) {
      throw InputError(g.place, "grain " + std::to_string(g.id) + " is given twice");
    }
    const std::array<double, 3> angles = {r.real(phi1, "phi1", 0.0, 360.0),
                                          r.real(Phi, "Phi", 0.0, 180.0),
                                          r.real(phi2, "phi2", 0.0, 360.0)};
    bool twinned[3];
    for (std::size_t k = 0; k < 3; ++k) {
      twinned[k] = r.twinned(e[k], "e" + std::to_string(k + 1));
    }
    if (r.has(grain_size)) r.real(grain_size, "grain_size_um", 0.0, 1e9);
    const CrystalDirections d = geographic_directions(angles, euler, frame, specimen);
    g.c_axis = d.c_axis;
    for (std::size_t k = 0; k < 3; ++k) {
      g.planes.push_back({d.e_poles[k], twinned[k], r.place(0)});
    }
    set.grains.push_back(g);
  }
  return set;
}

}  // namespace data_import
