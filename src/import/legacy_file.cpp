#include "import/legacy_file.h"

#include <cmath>
#include <cstdio>
#include <set>

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

// The whole degrees nearest to (angle, plunge) among the four corners around them, judged
// by `miss` (the angle the reader's vector makes with the intended one).
template <typename Miss>
WholeDegrees nearest_whole(double angle, double plunge, Miss miss) {
  WholeDegrees best;
  double best_miss = 1e300;
  for (const double a : {std::floor(angle), std::ceil(angle)}) {
    for (const double p : {std::floor(plunge), std::ceil(plunge)}) {
      if (p < 0.0 || p > 90.0) continue;
      const WholeDegrees w{static_cast<int32_t>(a) % 360, static_cast<int32_t>(p)};
      const double m = miss(w);
      if (m < best_miss) {
        best_miss = m;
        best = w;
      }
    }
  }
  return best;
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

class Encoder {
 public:
  explicit Encoder(LegacyFiles& out) : out_(out) {}

  // The records of one grain.
  std::string grain(const SourceGrain& g, int32_t number) {
    // The c-axis record gives the axis by the trend and plunge of its lower end.
    const TrendPlunge tp = trend_plunge(g.c_axis);
    float c[3];
    const WholeDegrees cw = nearest_whole(tp.trend, tp.plunge, [&](const WholeDegrees& w) {
      reader_c_axis(w, c);
      return angle_between_lines(as_double(c), g.c_axis);
    });
    reader_c_axis(cw, c);
    note(out_.c_axis_change, angle_between_lines(as_double(c), g.c_axis));
    std::string text = record(cw.direction, cw.plunge, number, ' ');
    for (const SourcePlane& p : g.planes) text += plane(g, p, c, number);
    return text;
  }

 private:
  // A twin-plane record gives the upper end of the pole: angle from the first axis
  // (east) towards the second (north), and its rise above the horizontal.
  std::string plane(const SourceGrain& g, const SourcePlane& p, const float (&c)[3],
                    int32_t number) {
    const Vec n = unit(p.pole[2] < 0.0 ? negated(p.pole) : p.pole);
    double angle = degrees(std::atan2(n[1], n[0]));
    if (angle < 0.0) angle += 360.0;
    const double rise = degrees(std::asin(std::fmin(1.0, n[2])));
    float pole[3];
    const WholeDegrees w = nearest_whole(angle, rise, [&](const WholeDegrees& w) {
      gemino::plane_pole(w.direction, w.plunge, ' ', pole);
      return angle_between_lines(as_double(pole), n);
    });
    gemino::plane_pole(w.direction, w.plunge, ' ', pole);
    note(out_.pole_change, angle_between_lines(as_double(pole), n));

    // The reader turns the c-axis to the pole's side and projects it onto the plane.
    float cr[3] = {c[0], c[1], c[2]};
    if (!(cr[0] * pole[0] + cr[1] * pole[1] + cr[2] * pole[2] > 0.0f)) {
      for (float& x : cr) x = -x;
    }
    float glide[3];
    gemino::glide_toward(pole, cr, glide);
    // The intended glide from the table's directions, on the same side of the plane as
    // the pole written (a plane with both its pole and glide reversed is the same).
    const Vec side = dot(n, as_double(pole)) < 0.0 ? negated(n) : n;
    Vec ca = dot(g.c_axis, side) < 0.0 ? negated(g.c_axis) : g.c_axis;
    const double along = dot(ca, side);
    const Vec intended =
        unit({ca[0] - along * side[0], ca[1] - along * side[1], ca[2] - along * side[2]});
    note(out_.glide_change, angle_between(as_double(glide), intended));
    out_.plane_count += 1;
    return record(w.direction, w.plunge, number, p.twinned ? 'T' : 'N');
  }

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
