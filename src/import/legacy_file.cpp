// SPDX-License-Identifier: GPL-3.0-or-later
#include "import/legacy_file.h"

#include <cmath>
#include <cstdio>
#include <set>
#include <vector>

#include "gemino/grain_geometry.h"
#include "import/legacy_layout.h"

namespace data_import {

namespace {

Vec as_double(const float (&v)[3]) {
  return {static_cast<double>(v[0]), static_cast<double>(v[1]), static_cast<double>(v[2])};
}

struct WholeDegrees {
  int32_t direction = 0;
  int32_t plunge = 0;
};

// The whole degrees around (angle, plunge): the four corners of the degree they lie in.
std::vector<WholeDegrees> corners(double angle, double plunge) {
  std::vector<WholeDegrees> out;
  for (const double a : {std::floor(angle), std::ceil(angle)}) {
    for (const double p : {std::floor(plunge), std::ceil(plunge)}) {
      if (p < 0.0 || p > 90.0) continue;
      out.push_back({static_cast<int32_t>(a) % 360, static_cast<int32_t>(p)});
    }
  }
  return out;
}

// What the reader makes of a c-axis record: the upper end of the axis.
void reader_c_axis(const WholeDegrees& w, float (&c)[3]) {
  gemino::c_axis_of_record(w.direction, w.plunge, ' ', 0, c);
  if (!(c[2] > 0.0f)) {
    c[0] = -c[0];
    c[1] = -c[1];
    c[2] = -c[2];
  }
}

// A record in the data file's columns: direction 3-5, plunge 9-10, sense letter 15,
// in-plane angle 18-20, grain number 23-25, code letter 30.
std::string record(int32_t direction, int32_t plunge, int32_t grain, char code) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "  %3d   %2d         0  %3d    %c", static_cast<int>(direction),
                static_cast<int>(plunge), static_cast<int>(grain), code);
  std::string line = buf;
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line + "\n";
}

// The record of a plane as written, and how far the reader's pole and glide lie from the
// table's.
struct PlaneChoice {
  WholeDegrees whole;
  double pole_change = 0.0;
  double glide_change = 0.0;
};

// The upper end of a pole.
Vec upper(const Vec& pole) {
  return unit(pole[2] < 0.0 ? negated(pole) : pole);
}

// Among the corners of a plane's pole, the one whose pole and glide, as the reader derives
// the glide from the c-axis `c` it holds, lie closest to the table's: the larger of the two
// changes is made as small as it can be.
PlaneChoice choose_plane(const SourceGrain& g, const SourcePlane& p, const float (&c)[3]) {
  // A twin-plane record gives the upper end of the pole: angle from the first axis (east)
  // towards the second (north), and its rise above the horizontal.
  const Vec n = upper(p.pole);
  double angle = degrees(std::atan2(n[1], n[0]));
  if (angle < 0.0) angle += 360.0;
  const double rise = degrees(std::asin(std::fmin(1.0, n[2])));
  // The intended glide, from the table's c-axis turned to the pole's side. The pole written
  // points upwards as n does, within a degree of it: the same side.
  const Vec ca = dot(g.c_axis, n) < 0.0 ? negated(g.c_axis) : g.c_axis;
  const double along = dot(ca, n);
  const Vec intended = unit({ca[0] - along * n[0], ca[1] - along * n[1], ca[2] - along * n[2]});

  PlaneChoice best;
  double best_worst = 1e300;
  for (const WholeDegrees& w : corners(angle, rise)) {
    float pole[3];
    gemino::plane_pole(w.direction, w.plunge, ' ', pole);
    // The reader turns the c-axis to the pole's side and projects it onto the plane.
    float cr[3] = {c[0], c[1], c[2]};
    if (!(cr[0] * pole[0] + cr[1] * pole[1] + cr[2] * pole[2] > 0.0f)) {
      for (float& x : cr) x = -x;
    }
    float glide[3];
    gemino::glide_toward(pole, cr, glide);
    const PlaneChoice choice{w, angle_between_lines(as_double(pole), n),
                             angle_between(as_double(glide), intended)};
    const double worst = std::fmax(choice.pole_change, choice.glide_change);
    if (worst < best_worst) {
      best_worst = worst;
      best = choice;
    }
  }
  return best;
}

class Encoder {
 public:
  explicit Encoder(LegacyFiles& out) : out_(out) {}

  // The records of one grain. The c-axis record gives the axis by the trend and plunge of
  // its lower end, the corner nearest the table's axis.
  std::string grain(const SourceGrain& g, int32_t number) {
    const TrendPlunge tp = trend_plunge(g.c_axis);
    WholeDegrees best;
    double best_change = 1e300;
    for (const WholeDegrees& w : corners(tp.trend, tp.plunge)) {
      float c[3];
      reader_c_axis(w, c);
      const double change = angle_between_lines(as_double(c), g.c_axis);
      if (change < best_change) {
        best_change = change;
        best = w;
      }
    }
    float c[3];
    reader_c_axis(best, c);
    note(out_.c_axis_change, best_change);
    std::string text = record(best.direction, best.plunge, number, ' ');
    for (const SourcePlane& p : g.planes) {
      const PlaneChoice choice = choose_plane(g, p, c);
      note(out_.pole_change, choice.pole_change);
      note(out_.glide_change, choice.glide_change);
      out_.plane_count += 1;
      text += record(choice.whole.direction, choice.whole.plunge, number, p.twinned ? 'T' : 'N');
    }
    return text;
  }

 private:
  static void note(double& largest, double change) {
    if (!(change <= largest)) largest = change;
  }

  LegacyFiles& out_;
};

}  // namespace

LegacyFiles write_legacy(const GrainSet& set, bool split) {
  const Layout layout = lay_out(set, split);
  LegacyFiles out;
  out.renumbered = layout.renumbered;
  Encoder encoder(out);
  for (std::size_t f = 0; f < layout.files.size(); ++f) {
    const FileLayout& file = layout.files[f];
    std::string text;
    std::set<int32_t> numbers;
    int32_t planes_in_file = 0;
    for (std::size_t b = 0; b < file.blocks.size(); ++b) {
      const BlockLayout& block = file.blocks[b];
      const int32_t offset = 100 * static_cast<int32_t>(b);
      text += "0       0    0    0\n";
      for (std::size_t j = 0; j < block.grains.size(); ++j) {
        const SourceGrain& g = set.grains[block.grains[j]];
        const int32_t number = block.numbers[j];
        text += encoder.grain(g, number);
        out.placements.push_back(
            {g.id, g.block, static_cast<int32_t>(f), static_cast<int32_t>(b + 1), number});
        out.grain_count += 1;
        planes_in_file += static_cast<int32_t>(g.planes.size());
        // The limits the layout keeps, checked once more on what is written.
        if (number < 1 || number > max_grains_per_block) {
          throw InputError(g.place, "grain number " + std::to_string(number) + " out of 1..99");
        }
        for (std::size_t k = 0; k < g.planes.size(); ++k) {
          const int32_t data_number = number + offset + 300 * static_cast<int32_t>(k);
          if (data_number >= 1000 || !numbers.insert(data_number).second) {
            throw InputError(g.place, "data number " + std::to_string(data_number) +
                                          " would be 1000 or more, or given twice");
          }
        }
      }
      text += b + 1 == file.blocks.size() ? "  999\n" : "  400\n";
    }
    if (planes_in_file > max_planes_per_file) {
      throw InputError({}, "a data file would hold " + std::to_string(planes_in_file) +
                               " planes, more than 500");
    }
    out.texts.push_back(text);
  }
  return out;
}

}  // namespace data_import
