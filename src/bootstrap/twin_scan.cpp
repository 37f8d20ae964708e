#include "bootstrap/twin_scan.h"

#include <charconv>
#include <memory>
#include <mutex>

#include "bootstrap/axial_stats.h"
#include "bootstrap/parallel.h"

namespace bootstrap {

namespace {

bool parse_int(std::string_view text, int32_t& value) {
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end;
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

Scan run_scan(const RunInput& input, const ScanRange& range, int32_t jobs,
              const std::function<bool(int32_t done, int32_t total)>& progress) {
  Scan scan;
  scan.range = range;
  // In 64 bits: a step near the int32_t limit must end the count, not wrap it.
  for (int64_t p = range.first; range.step > 0 && p <= range.last; p += range.step) {
    scan.rows.emplace_back().twin_percent = static_cast<int32_t>(p);
  }
  const auto count = static_cast<int32_t>(scan.rows.size());
  const int32_t n = worker_count(jobs, count);
  std::vector<std::unique_ptr<gemino::State>> states;
  for (int32_t w = 0; w < n; ++w) states.push_back(std::make_unique<gemino::State>());
  std::atomic<bool> stop{false};
  std::mutex progress_mutex;
  int32_t done = 0;
  parallel_for(count, n, stop, [&](int32_t worker, int32_t index) {
    ScanRow& row = scan.rows[static_cast<std::size_t>(index)];
    gemino::State& s = *states[static_cast<std::size_t>(worker)];
    gemino::InversionOptions o;
    o.start_mode = 1;
    o.trial_count = input.trial_count;
    o.iteration_limit = input.iteration_limit;
    o.twin_percent = row.twin_percent;
    o.seed = input.seed;
    const gemino::InversionResult r = gemino::invert(input.rows, o, s);
    if (r.status == gemino::InversionStatus::done) {
      row.valid = true;
      row.tensor = tensor_result(r.final);
      row.differential_mpa = differential_mpa(row.tensor.threshold, input.crss_mpa);
      // The state holds the ranking under the optimised tensor.
      for (int32_t l = 0; l < s.data_count; ++l) {
        const bool twinned = s.twin_flag[s.shear_order[l] - 1] > 0;
        const bool above = l < r.final.tensor.threshold_index;
        if (twinned && !above) ++row.incompatible_twins;
        if (!twinned && above) ++row.untwinned_above;
      }
      row.sigma1_to_run_deg =
          axis_angle_deg(row.tensor.sigma1.vector, input.reference.sigma1.vector);
      row.sigma3_to_run_deg =
          axis_angle_deg(row.tensor.sigma3.vector, input.reference.sigma3.vector);
    }
    if (progress) {
      const std::lock_guard<std::mutex> lock(progress_mutex);
      if (!progress(++done, count)) stop.store(true);
    }
  });
  scan.cancelled = stop.load();
  return scan;
}

}  // namespace bootstrap
