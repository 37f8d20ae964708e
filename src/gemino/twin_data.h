// SPDX-License-Identifier: GPL-3.0-or-later
// The twin data file: blocks of grain records, each grain a c-axis record followed by
// its possible twin planes, observed twinned or untwinned. Reading it fills the data
// rows of the shared state, writes the listing and the counts to the report, and sets
// data_count and twin_limit.
#pragma once

#include <cstdint>

#include "gemino/state.h"

namespace gemino {

// One data record, as read.
struct DataRecord {
  int32_t direction = 0;  // 361..401 ends a block, 402 or more ends the data
  int32_t plunge = 0;
  char sense_letter = ' ';  // "D" or anything else
  int32_t in_plane_angle = 0;
  int32_t grain_number = 0;
  char code_letter = ' ';  // blank: c-axis; "N": untwinned plane; other: twinned plane
};

// What the reader carries from record to record.
struct TwinReader {
  int32_t block_offset = -100;  // 0 for the first block, 100 more for each further one
  int32_t previous_number = 0;  // number of the last twin record that differed from its predecessor
  int32_t repeat_count = 0;     // consecutive twin records with the same number
  float c_axis[3] = {0.0f, 0.0f, 0.0f};  // current c-axis, kept across grains and blocks
  bool c_axis_seen = false;
  int32_t rotation_flag = 0;
  float rotation[3] = {0.0f, 0.0f, 0.0f};  // the block's rotation angles, radians
  int32_t next_row = 0;                    // next free data row (0-based)
};

// The values of one stored plane that the listing shows besides the record itself.
struct PlaneListing {
  float pole[3];
  float c_angle;  // degrees between the plane normal and the c-axis
  float glide[3];
};

// A new block: its offset, its rotation, and a fresh start for the renumbering.
void start_block(TwinReader& reader, int32_t rotation_flag, const int32_t (&degrees)[3]);

// A c-axis record: sets the current c-axis (rotated with the block, pointing upward).
void take_c_axis(TwinReader& reader, const DataRecord& record);

// The data number of a twin-plane record: the grain number plus the block offset, and
// 300 more for each plane of the same grain that comes right before it in the block.
int32_t number_plane(TwinReader& reader, int32_t grain_number);

// Whether the selection of the parameter file accepts the plane of this number.
bool plane_selected(const State& s, int32_t number, char code_letter);

// Stores an accepted plane in the next free row (the caller checks there is one). The
// current c-axis turns to the side of the plane normal, for this plane and the next.
void store_plane(State& s, TwinReader& reader, const DataRecord& record, int32_t number,
                 PlaneListing& listing);

// Counts rows 1..data_count into twinned and untwinned, and sets twin_limit from them.
void count_planes(State& s, float& twinned, float& untwinned);

// Reads the whole data file (unit 4) and writes the listing and counts (unit 8).
// A twin-plane record before any c-axis record, more planes than there are rows, or no
// plane at all once the selection is made, ends the run with a message on the console
// (exit code 1).
void read_twin_data(State& s);

// INT() of a real: toward zero, saturating at the int32_t limits for a value beyond
// them; not a number gives 0.
int32_t truncate_to_int(float value);

}  // namespace gemino
