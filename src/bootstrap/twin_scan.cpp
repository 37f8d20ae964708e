// SPDX-License-Identifier: GPL-3.0-or-later
#include "bootstrap/twin_scan.h"

#include <algorithm>
#include <charconv>
#include <memory>
#include <mutex>

#include "bootstrap/axial_stats.h"
#include "bootstrap/parallel.h"
#include "gemino/converged.h"
#include "gemino/twin_data.h"

namespace bootstrap {

namespace {

bool parse_int(std::string_view text, int32_t& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
}

// Puts the rows into a state with the share of twins counted, as invert does before its
// search, so that tensors can be scored on them.
// The caller checks that the rows fit; never more than the state holds are put in.
void load_rows(const std::vector<gemino::PlaneRow>& rows, gemino::State& s) {
  gemino::reset_state(s);
  gemino::put_rows(rows, s);
}

void count_at(gemino::State& s, int32_t twin_percent) {
  s.twin_percent = twin_percent;
  float twinned = 0.0f;
  float untwinned = 0.0f;
  gemino::count_planes(s, twinned, untwinned);
}

std::array<float, 4> params_of(const gemino::InvertedTensor& t) {
  return {t.tensor.params[0], t.tensor.params[1], t.tensor.params[2], t.tensor.params[3]};
}

// Offers `candidate` to row i at its share: it replaces the answer only when it scores
// strictly lower, so that the row's own search keeps every tie.
bool offer(gemino::State& s, const gemino::InvertedTensor& candidate,
           gemino::InvertedTensor& answer) {
  const gemino::InvertedTensor t = gemino::score_tensor(s, params_of(candidate));
  if (!(t.objective_reported < answer.objective_reported)) return false;
  answer = t;
  return true;
}

}  // namespace

std::optional<ScanRange> parse_scan_range(std::string_view text) {
  const std::size_t a = text.find(':');
  if (a == std::string_view::npos) return std::nullopt;
  const std::size_t b = text.find(':', a + 1);
  if (b == std::string_view::npos) return std::nullopt;
  ScanRange r;
  if (!parse_int(text.substr(0, a), r.first) || !parse_int(text.substr(a + 1, b - a - 1), r.last) ||
      !parse_int(text.substr(b + 1), r.step)) {
    return std::nullopt;
  }
  if (r.first < 1 || r.last > 100 || r.first > r.last || r.step <= 0) return std::nullopt;
  // A step past the range would scan its first percentage alone.
  if (r.first < r.last && r.step > r.last - r.first) return std::nullopt;
  return r;
}

std::vector<SharePoint> share_points(const Scan& scan) {
  std::vector<SharePoint> points;
  for (const ScanRow& r : scan.rows) {
    points.push_back({r.twin_percent, r.valid, r.twins_counted, r.untwinned_above});
  }
  return points;
}

Scan run_scan(const RunInput& input, const ScanRange& range, int32_t jobs,
              const std::function<bool(int32_t done, int32_t total)>& progress) {
  Scan scan;
  scan.range = range;
  // In 64 bits: a step near the int32_t limit must end the count, not wrap it.
  for (int64_t p = range.first; range.step > 0 && p <= range.last; p += range.step) {
    scan.rows.emplace_back().twin_percent = static_cast<int32_t>(p);
  }
  const auto count = static_cast<int32_t>(scan.rows.size());
  // More rows than a state holds cannot be inverted: no row is.
  if (input.rows.size() > static_cast<std::size_t>(gemino::max_rows)) return scan;
  const auto state = std::make_unique<gemino::State>();
  gemino::State& s = *state;
  load_rows(input.rows, s);
  count_at(s, input.twin_percent);
  const int32_t run_twins = s.twin_limit;
  // Percentages that count the same number of twins are the same inversion: each number
  // is searched once, by the first row that counts it.
  std::vector<int32_t> leader(static_cast<std::size_t>(count));
  std::vector<int32_t> searched;
  for (int32_t i = 0; i < count; ++i) {
    ScanRow& row = scan.rows[static_cast<std::size_t>(i)];
    count_at(s, row.twin_percent);
    row.twins_counted = s.twin_limit;
    leader[static_cast<std::size_t>(i)] = i;
    if (i > 0 && scan.rows[static_cast<std::size_t>(i - 1)].twins_counted == row.twins_counted) {
      leader[static_cast<std::size_t>(i)] = leader[static_cast<std::size_t>(i - 1)];
    } else {
      searched.push_back(i);
    }
  }
  for (const gemino::PlaneRow& row : input.rows) {
    ++(row.twin_flag > 0 ? scan.twinned_planes : scan.untwinned_planes);
  }

  const auto tasks = static_cast<int32_t>(searched.size());
  const int32_t n = worker_count(jobs, tasks);
  std::vector<std::unique_ptr<gemino::State>> states;
  for (int32_t w = 0; w < n; ++w) states.push_back(std::make_unique<gemino::State>());
  std::vector<gemino::ConvergedResult> found(static_cast<std::size_t>(count));
  std::atomic<bool> stop{false};
  std::mutex progress_mutex;
  int32_t done = 0;
  parallel_for(tasks, n, stop, [&](int32_t worker, int32_t task) {
    const int32_t i = searched[static_cast<std::size_t>(task)];
    const ScanRow& row = scan.rows[static_cast<std::size_t>(i)];
    gemino::InversionOptions o;
    o.start_mode = 1;
    o.trial_count = input.trial_count;
    o.iteration_limit = input.iteration_limit;
    o.twin_percent = row.twin_percent;
    o.seed = input.seed;
    gemino::ConvergedOptions c;
    // The run's own tensor is the natural candidate where the run counts as many twins.
    if (row.twins_counted == run_twins) {
      c.candidates.push_back({input.reference.params[0], input.reference.params[1],
                              input.reference.params[2], input.reference.params[3]});
    }
    found[static_cast<std::size_t>(i)] =
        gemino::invert_converged(input.rows, o, c, *states[static_cast<std::size_t>(worker)]);
    if (progress) {
      const std::lock_guard<std::mutex> lock(progress_mutex);
      if (!progress(++done, tasks)) stop.store(true);
    }
  });
  scan.cancelled = stop.load();

  // Each row's own answer, then the passes in a fixed order, whatever the workers did.
  std::vector<bool> valid(static_cast<std::size_t>(count), false);
  std::vector<gemino::InvertedTensor> own(static_cast<std::size_t>(count));
  for (int32_t i = 0; i < count; ++i) {
    const gemino::ConvergedResult& r =
        found[static_cast<std::size_t>(leader[static_cast<std::size_t>(i)])];
    valid[static_cast<std::size_t>(i)] =
        r.status == gemino::InversionStatus::done && r.restarts > 0;
    own[static_cast<std::size_t>(i)] = r.best;
  }
  std::vector<gemino::InvertedTensor> answer = own;
  std::vector<bool> moved(static_cast<std::size_t>(count), false);
  auto ok = [&](int32_t i) { return i >= 0 && i < count && valid[static_cast<std::size_t>(i)]; };
  // Down from the most twins: a row takes the answer of the row above it (which scores no
  // more on the fewer twins counted here than it did there) and the own answer of the row
  // below. Then up: the answer of the row below, which cannot score less here than there.
  for (int32_t i = count - 1; i >= 0; --i) {
    if (!ok(i)) continue;
    count_at(s, scan.rows[static_cast<std::size_t>(i)].twin_percent);
    auto& a = answer[static_cast<std::size_t>(i)];
    const bool above = ok(i + 1) && offer(s, answer[static_cast<std::size_t>(i + 1)], a);
    const bool below = ok(i - 1) && offer(s, own[static_cast<std::size_t>(i - 1)], a);
    if (above || below) moved[static_cast<std::size_t>(i)] = true;
  }
  for (int32_t i = 0; i < count; ++i) {
    if (!ok(i) || !ok(i - 1)) continue;
    count_at(s, scan.rows[static_cast<std::size_t>(i)].twin_percent);
    if (offer(s, answer[static_cast<std::size_t>(i - 1)], answer[static_cast<std::size_t>(i)])) {
      moved[static_cast<std::size_t>(i)] = true;
    }
  }

  for (int32_t i = 0; i < count; ++i) {
    if (!ok(i)) continue;
    ScanRow& row = scan.rows[static_cast<std::size_t>(i)];
    count_at(s, row.twin_percent);
    // Scored again on the row's share: the state then holds the ranking under it.
    const gemino::InvertedTensor t =
        gemino::score_tensor(s, params_of(answer[static_cast<std::size_t>(i)]));
    row.valid = true;
    row.from_neighbour = moved[static_cast<std::size_t>(i)];
    row.tensor = tensor_result(t);
    row.differential_mpa = differential_mpa(row.tensor.threshold, input.crss_mpa);
    for (int32_t l = 0; l < s.data_count; ++l) {
      const bool twinned = s.twin_flag[s.shear_order[l] - 1] > 0;
      const bool above = l < t.tensor.threshold_index;
      if (twinned && !above) ++row.incompatible_twins;
      if (!twinned && above) ++row.untwinned_above;
    }
    row.sigma1_to_run_deg = axis_angle_deg(row.tensor.sigma1.vector, input.reference.sigma1.vector);
    row.sigma3_to_run_deg = axis_angle_deg(row.tensor.sigma3.vector, input.reference.sigma3.vector);
  }
  if (!scan.cancelled) {
    scan.suggestion = suggest_share(share_points(scan), scan.twinned_planes, scan.untwinned_planes);
  }
  return scan;
}

}  // namespace bootstrap
