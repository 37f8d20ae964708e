// SPDX-License-Identifier: GPL-3.0-or-later
// The results of one run as plain values: the parameters, the best starting tensor, the
// optimised tensor, the counts, every plane under the optimised tensor and every grain's
// c-axis. Every output beside the report (JSON, CSV, the summary of a batch, the windowed
// Results menu, figures) is written from this one structure; building it does no I/O.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "gemino/invert.h"
#include "gemino/state.h"

namespace results {

// A line in degrees: trend clockwise from north (the data frame's second axis), plunge
// downward, on the lower hemisphere (plunge >= 0).
struct Line {
  float trend;
  float plunge;
};

// A principal axis: its line and its unit vector (east, north, up) with the third
// component not positive.
struct Axis {
  Line line;
  float vector[3];
};

// A tensor as the report gives it. The lines of the axes are the report's own values
// (they print as its "DIRECTION" and "PENDAGE"); R, the objective value and the
// threshold (SEUIL) likewise.
struct TensorResult {
  Axis sigma1, sigma2, sigma3;
  float R;
  float objective;
  float threshold;
  int32_t threshold_index;  // ranked planes down to the threshold
  float params[4];          // the search parameters: three angles (radians) and R
  // The objective of this tensor in units of its own sigma1 - sigma3. `objective` is the
  // report's value, scored before the axes were renamed to bring R into [0, 1], and so in
  // units of the tensor before renaming; the two are equal when no renaming took place.
  float objective_reported_units;
};

// Where a plane stands in the ranking under the optimised tensor.
enum class PlaneClass {
  counted,             // twinned, ranked down to the threshold
  twinned_below,       // twinned, ranked below it
  untwinned_ok,        // untwinned, ranked below it
  untwinned_violating  // untwinned, ranked above it: the objective counts it
};
std::string_view class_name(PlaneClass cls);

struct Plane {
  int32_t number;  // data number, as the report lists it (without sign)
  int32_t grain;   // grain number, block offset included
  int32_t block;   // 1 for the first block of the data file
  bool twinned;
  Line pole, glide;
  float pole_vector[3], glide_vector[3];  // glide points toward the grain's c-axis
  float tau;     // resolved shear stress under the optimised tensor, units of sigma1 - sigma3
  int32_t rank;  // 1 = highest TAU
  PlaneClass cls;
};

struct Grain {
  int32_t number;  // block offset included
  int32_t block;
  Line c_axis;
  float vector[3];  // as read, pointing upward
};

struct Parameters {
  std::string title;  // the first text line, trailing blanks removed
  // The text lines as UTF-8 (results/text_encoding.h), whatever bytes the file held.
  std::array<std::string, 10> text;  // all ten, trailing blanks removed
  int32_t start_mode = 0;
  int32_t trial_count = 0;
  int32_t twin_percent = 0;
  int32_t seed = 0;  // as given in the parameter file
  int32_t iteration_limit = 0;
  int32_t quiet_listing = 0;
  int32_t debug_flag = 0;
  int32_t selection_mode = 0;  // 0 none, 2 keep the listed numbers, other values remove them
  std::vector<int32_t> selection;
};

struct Counts {
  int32_t planes = 0;
  int32_t twinned = 0;
  int32_t untwinned = 0;
  int32_t twin_limit = 0;  // twinned planes the threshold must reach
  int32_t counted = 0;
  int32_t twinned_below = 0;
  int32_t untwinned_ok = 0;
  int32_t untwinned_violating = 0;
  int32_t grains = 0;       // c-axis records of the data file
  int32_t grains_kept = 0;  // those the run kept (results::Result::grains)
  int32_t blocks = 0;
};

struct Result {
  Parameters parameters;
  TensorResult start, result;
  Counts counts;
  std::vector<Plane> planes;  // in data row order
  std::vector<Grain> grains;  // in file order
  // What makes the result say little or nothing: nothing constrains the tensor, a value
  // is not finite, records were not kept. One sentence each, for the console and the JSON.
  std::vector<std::string> warnings;
};

// Whether the state holds a run that wrote its whole report.
bool has_result(const gemino::State& s);

// The results of the finished run held by s (has_result(s) must hold).
Result build_result(const gemino::State& s);

// The lower-hemisphere line of a direction (east, north, up); the sense is dropped.
Line line_of(const float (&v)[3]);

// The tensor of an inversion with its lines, as build_result gives the run's tensor.
TensorResult tensor_result(const gemino::InvertedTensor& t);

}  // namespace results
