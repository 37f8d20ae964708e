// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/twin_data.h"

#include <cmath>
#include <string_view>

#include "gemino/formats.h"
#include "gemino/grain_geometry.h"
#include "gemino/parameters.h"
#include "gemino/report.h"
#include "gemino/units.h"
#include "recfmt/statements.h"

namespace gemino {

namespace {

// The angle the twin planes of calcite make with the c-axis, and the tolerance beyond
// which the listing flags a measurement.
constexpr float expected_c_angle = 26.0f;
constexpr float c_angle_tolerance = 3.0f;

std::string_view letter(const char& c) {
  return {&c, 1};
}

}  // namespace

int32_t truncate_to_int(float value) {
  // -2^31 and 2^31 are exact floats; every float in between truncates to an int32_t.
  // Truncation toward zero never changes a sign: beyond the range it saturates.
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0f) return INT32_MAX;
  if (value < -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(value);
}

namespace {

// The block being read: 1 for the first.
int32_t block_of(const TwinReader& reader) {
  return reader.block_offset / 100 + 1;
}

// Keeps a grain's c-axis, as read, for the results of the run.
void record_c_axis(State& s, const TwinReader& reader, int32_t grain_number) {
  RunRecord& r = s.record;
  if (r.grain_count < 0 || r.grain_count == INT32_MAX) return;
  if (r.grain_count < max_grain_records) {
    r.grain_number[r.grain_count] = grain_number + reader.block_offset;
    r.grain_block[r.grain_count] = block_of(reader);
    for (int32_t k = 0; k < 3; ++k) r.c_axis[r.grain_count][k] = reader.c_axis[k];
  }
  ++r.grain_count;
}

}  // namespace

void start_block(TwinReader& reader, int32_t rotation_flag, const int32_t (&degrees)[3]) {
  reader.block_offset += 100;
  reader.rotation_flag = rotation_flag;
  for (int32_t k = 0; k < 3; ++k) reader.rotation[k] = data_radians(degrees[k]);
  reader.previous_number = 0;
}

void take_c_axis(TwinReader& reader, const DataRecord& record) {
  float* c = reader.c_axis;
  c_axis_of_record(record.direction, record.plunge, record.sense_letter, record.in_plane_angle,
                   reader.c_axis);
  if (reader.rotation_flag != 0) {
    rotate_vector(c[0], c[1], c[2], reader.rotation[0], reader.rotation[1], reader.rotation[2]);
  }
  if (!(c[2] > 0.0f)) {
    c[0] = -c[0];
    c[1] = -c[1];
    c[2] = -c[2];
  }
  reader.c_axis_seen = true;
}

int32_t number_plane(TwinReader& reader, int32_t grain_number) {
  const int32_t n = grain_number + reader.block_offset;
  if (n == reader.previous_number) {
    ++reader.repeat_count;
    return n + 300 * reader.repeat_count;
  }
  reader.repeat_count = 0;
  reader.previous_number = n;
  return n;
}

bool plane_selected(const State& s, int32_t number, char code_letter) {
  if (s.selection_mode == 0) return true;
  const int32_t count = s.selection_count < max_selection ? s.selection_count : max_selection;
  if (s.selection_mode == 2) {
    // An untwinned plane is kept as soon as the list has an entry to look at.
    for (int32_t k = 0; k < count; ++k) {
      if (code_letter == 'N') return true;
      if (s.selection_list[k] == number) return true;
    }
    return false;
  }
  for (int32_t k = 0; k < count; ++k) {
    if (s.selection_list[k] == number) return false;
  }
  return true;
}

void store_plane(State& s, TwinReader& reader, const DataRecord& record, int32_t number,
                 PlaneListing& listing) {
  const int32_t i = reader.next_row;
  s.data_number[i] = number;
  s.twin_flag[i] = record.code_letter == 'N' ? -1 : 1;
  float(&p)[3] = s.pole[i];
  plane_pole(record.direction, record.plunge, record.sense_letter, p);
  if (reader.rotation_flag != 0) {
    rotate_vector(p[0], p[1], p[2], reader.rotation[0], reader.rotation[1], reader.rotation[2]);
  }
  float* c = reader.c_axis;
  float cosine = c[0] * p[0] + c[1] * p[1] + c[2] * p[2];
  if (!(cosine > 0.0f)) {
    c[0] = -c[0];
    c[1] = -c[1];
    c[2] = -c[2];
    cosine = -cosine;
  }
  listing.c_angle = c_axis_angle(cosine);
  glide_toward(p, reader.c_axis, s.glide[i]);
  for (int32_t k = 0; k < 3; ++k) {
    listing.pole[k] = p[k];
    listing.glide[k] = s.glide[i][k];
  }
  reader.next_row = i + 1;
}

void count_planes(State& s, float& twinned, float& untwinned) {
  twinned = 0.0f;
  untwinned = 0.0f;
  for (int32_t i = 0; i < s.data_count; ++i) {
    if ((s.twin_flag[i] + 3) / 2 == 1) {
      untwinned = untwinned + 1.0f;
    } else {
      twinned = twinned + 1.0f;
    }
  }
  s.twin_limit = truncate_to_int(static_cast<float>(s.twin_percent) * twinned / 100.0f);
}

void read_twin_data(State& s) {
  TwinReader reader;
  DataRecord rec;
  recfmt::Text<1> sense;
  recfmt::Text<1> code;
  const bool listing = s.quiet_listing != 1;

  for (;;) {
    int32_t flag = 0;
    int32_t degrees[3] = {0, 0, 0};
    recfmt::read(data_unit, formats::block_header, {flag, degrees[0], degrees[1], degrees[2]});
    start_block(reader, flag, degrees);
    recfmt::write(report_unit, formats::block_rotations, {degrees[0], degrees[1], degrees[2]});

    for (;;) {
      recfmt::read(data_unit, formats::data_record,
                   {rec.direction, rec.plunge, sense, rec.in_plane_angle, rec.grain_number, code});
      rec.sense_letter = sense[0];
      rec.code_letter = code[0];
      if (rec.direction > 401) {
        s.data_count = reader.next_row;
        write_separator();
        float twinned = 0.0f;
        float untwinned = 0.0f;
        count_planes(s, twinned, untwinned);
        recfmt::write(report_unit, formats::twin_counts, {twinned, untwinned, s.twin_limit});
        // With no plane there is nothing to invert: any tensor written would be made up.
        if (s.data_count == 0)
          abandon_run("THE DATA FILE LEAVES NO PLANE TO INVERT: THE RUN STOPS");
        return;
      }
      if (rec.direction > 360) break;  // the next record is a block header

      if (rec.code_letter == ' ') {
        take_c_axis(reader, rec);
        record_c_axis(s, reader, rec.grain_number);
        if (listing) {
          const float* c = reader.c_axis;
          recfmt::write(
              report_unit, formats::c_axis,
              {rec.direction, rec.plunge, letter(rec.sense_letter), rec.in_plane_angle,
               rec.grain_number + reader.block_offset, letter(rec.code_letter), c[0], c[1], c[2]});
        }
        continue;
      }

      if (!reader.c_axis_seen) {
        abandon_run("THE DATA FILE GIVES A TWIN PLANE BEFORE ANY C-AXIS RECORD: THE RUN STOPS");
      }
      const int32_t number = number_plane(reader, rec.grain_number);
      if (!plane_selected(s, number, rec.code_letter)) continue;
      if (reader.next_row >= max_rows) {
        s.data_count = reader.next_row;
        abandon_run("THE DATA FILE HOLDS MORE THAN 500 PLANES TO INVERT: THE RUN STOPS");
      }
      PlaneListing out{};
      store_plane(s, reader, rec, number, out);
      s.record.row_grain[reader.next_row - 1] = rec.grain_number + reader.block_offset;
      s.record.row_block[reader.next_row - 1] = block_of(reader);
      s.record.row_grain_record[reader.next_row - 1] = s.record.grain_count - 1;
      if (listing) {
        const bool flagged = std::fabs(out.c_angle - expected_c_angle) > c_angle_tolerance;
        recfmt::write(report_unit, flagged ? formats::twin_plane_flagged : formats::twin_plane,
                      {rec.direction, rec.plunge, letter(rec.sense_letter), rec.in_plane_angle,
                       number, letter(rec.code_letter), out.pole[0], out.pole[1], out.pole[2],
                       out.c_angle, out.glide[0], out.glide[1], out.glide[2]});
      }
    }
  }
}

}  // namespace gemino
