// SPDX-License-Identifier: GPL-3.0-or-later
#include "bootstrap/bootstrap.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <mutex>

#include "bootstrap/parallel.h"
#include "gemino/margin.h"

namespace bootstrap {

namespace {

// What each worker keeps from task to task, so that a task allocates nothing.
struct Worker {
  std::unique_ptr<gemino::State> state = std::make_unique<gemino::State>();
  std::vector<gemino::PlaneRow> rows;
};

gemino::InversionOptions fresh_start(const RunInput& input, int32_t seed) {
  gemino::InversionOptions o;
  o.start_mode = 1;
  o.trial_count = input.trial_count;
  o.iteration_limit = input.iteration_limit;
  o.twin_percent = input.twin_percent;
  o.seed = seed;
  return o;
}

gemino::ConvergedOptions with_reference(const RunInput& input) {
  gemino::ConvergedOptions c;
  c.candidates.push_back({input.reference.params[0], input.reference.params[1],
                          input.reference.params[2], input.reference.params[3]});
  return c;
}

Sample sample_of(const gemino::ConvergedResult& r, double crss_mpa) {
  Sample s;
  if (r.status != gemino::InversionStatus::done) return s;
  s.valid = true;
  s.objective = r.best.objective_reported;
  s.at_candidate = r.best_candidate >= 0;
  s.converged = r.restarts_at_best >= 2;
  for (int32_t j = 0; j < 3; ++j) {
    for (int32_t k = 0; k < 3; ++k) s.axes[j][k] = r.best.axes[j][k];
  }
  s.R = r.best.tensor.params[3];
  s.threshold = r.best.tensor.threshold;
  s.crss_mpa = crss_mpa;
  s.differential_mpa = differential_mpa(s.threshold, crss_mpa);
  s.shmax_deg = shmax_of(tensor_result(r.best));
  return s;
}

}  // namespace

void resample_rows(const RunInput& input, const std::vector<std::vector<int32_t>>& grains,
                   TaskRandom& random, std::vector<gemino::PlaneRow>& out) {
  out.clear();
  const auto g = static_cast<int32_t>(grains.size());
  for (int32_t k = 0; k < g; ++k) {
    for (const int32_t row : grains[static_cast<std::size_t>(random.below(g))]) {
      out.push_back(input.rows[static_cast<std::size_t>(row)]);
    }
  }
}

int32_t draw_fitting_rows(const RunInput& input, const std::vector<std::vector<int32_t>>& grains,
                          TaskRandom& random, std::vector<gemino::PlaneRow>& out) {
  for (int32_t redraws = 0; redraws <= max_redraws; ++redraws) {
    resample_rows(input, grains, random, out);
    if (out.size() <= static_cast<std::size_t>(gemino::max_rows)) return redraws;
  }
  return -1;
}

double influence_size(const GrainInfluence& g) {
  return std::max(g.sigma1_deg, g.sigma3_deg) + 1e-3 * std::fabs(g.delta_R);
}

gemino::ConvergedResult invert_resample(std::span<const gemino::PlaneRow> rows,
                                        const RunInput& input, int32_t seed, gemino::State& state,
                                        int32_t restarts_at_best, bool widest_margin) {
  gemino::ConvergedOptions converged = with_reference(input);
  converged.restarts_at_best = restarts_at_best;
  converged.widest_margin = widest_margin;
  return gemino::invert_converged(rows, fresh_start(input, seed), converged, state);
}

gemino::ConvergedResult invert_left_out(std::span<const gemino::PlaneRow> rows,
                                        const RunInput& input, gemino::State& state) {
  return gemino::invert_converged(rows, fresh_start(input, input.seed), with_reference(input),
                                  state);
}

bool is_influential(const gemino::ConvergedResult& r, float tolerance) {
  if (r.status != gemino::InversionStatus::done || r.best_candidate >= 0) return false;
  if (r.restarts_at_best < 2 || r.candidate_objectives.empty()) return false;
  return r.candidate_objectives[0] - r.best.objective_reported > tolerance;
}

Summary run_bootstrap(const RunInput& input, const Options& options) {
  Summary summary;
  summary.resamples = std::max(options.resamples, 0);
  summary.seed = options.seed;
  summary.crss_range = options.crss_range;
  summary.bracket_interval = options.bracket_interval;
  const auto grains = grains_of(input.row_record);
  const auto grain_count = static_cast<int32_t>(grains.size());
  const int32_t influence_tasks = options.influence ? grain_count : 0;
  const int32_t total = summary.resamples + influence_tasks;
  summary.jobs = worker_count(options.jobs, total);
  summary.samples.resize(static_cast<std::size_t>(summary.resamples));
  std::vector<gemino::ConvergedResult> left_out(static_cast<std::size_t>(influence_tasks));

  std::vector<Worker> workers(static_cast<std::size_t>(summary.jobs));
  for (Worker& w : workers) w.rows.reserve(input.rows.size() * 2 + gemino::max_rows);
  std::atomic<bool> stop{false};
  std::mutex progress_mutex;
  int32_t done = 0;

  parallel_for(total, summary.jobs, stop, [&](int32_t worker, int32_t index) {
    Worker& w = workers[static_cast<std::size_t>(worker)];
    if (index < summary.resamples) {
      // The resample's grains and the seed of its starting tensors.
      TaskRandom random(options.seed, static_cast<uint64_t>(index));
      Sample& sample = summary.samples[static_cast<std::size_t>(index)];
      const int32_t redraws = draw_fitting_rows(input, grains, random, w.rows);
      if (redraws < 0) {
        sample = Sample{};
        sample.redraws = max_redraws + 1;
      } else {
        const int32_t seed = random.generator_seed();
        const double crss =
            options.crss_range ? draw_crss(*options.crss_range, random) : input.crss_mpa;
        sample = sample_of(invert_resample(w.rows, input, seed, *w.state, options.restarts_at_best,
                                           options.widest_margin),
                           crss);
        // The state holds the ranking under the answer.
        const std::optional<float> below = gemino::untwinned_below_threshold(*w.state);
        if (below && *below > 0.0f) sample.differential_high_mpa = crss / *below;
        sample.redraws = redraws;
      }
    } else {
      // The converged search without one grain, the full-data tensor a candidate.
      const int32_t g = index - summary.resamples;
      w.rows.clear();
      for (int32_t other = 0; other < grain_count; ++other) {
        if (other == g) continue;
        for (const int32_t row : grains[static_cast<std::size_t>(other)]) {
          w.rows.push_back(input.rows[static_cast<std::size_t>(row)]);
        }
      }
      left_out[static_cast<std::size_t>(g)] = invert_left_out(w.rows, input, *w.state);
    }
    if (options.progress) {
      const std::lock_guard<std::mutex> lock(progress_mutex);
      if (!options.progress(++done, total)) stop.store(true);
    }
  });
  summary.cancelled = stop.load();

  for (int32_t g = 0; g < influence_tasks && !summary.cancelled; ++g) {
    const auto& r = left_out[static_cast<std::size_t>(g)];
    if (r.status != gemino::InversionStatus::done) continue;
    ++summary.left_out;
    if (r.restarts_at_best < 2) ++summary.left_out_unconverged;
    if (!is_influential(r, gemino::ConvergedOptions{}.tolerance)) continue;
    GrainInfluence gi;
    gi.grain = input.row_grain[static_cast<std::size_t>(grains[static_cast<std::size_t>(g)][0])];
    gi.sigma1_deg = axis_angle_deg(r.best.axes[0], input.reference.sigma1.vector);
    gi.sigma3_deg = axis_angle_deg(r.best.axes[2], input.reference.sigma3.vector);
    gi.delta_R = static_cast<double>(r.best.tensor.params[3]) - input.reference.R;
    gi.objective_gain = static_cast<double>(r.candidate_objectives[0]) -
                        static_cast<double>(r.best.objective_reported);
    summary.influence.push_back(gi);
  }
  std::stable_sort(summary.influence.begin(), summary.influence.end(),
                   [](const GrainInfluence& a, const GrainInfluence& b) {
                     return influence_size(a) > influence_size(b);
                   });
  summarize(input, summary);
  return summary;
}

void summarize(const RunInput& input, Summary& summary) {
  std::array<std::vector<std::array<double, 3>>, 3> axes;
  std::vector<double> r, threshold, differential, shmax, bracket_high;
  summary.invalid = 0;
  summary.redrawn = 0;
  summary.too_many_planes = 0;
  summary.undefined_differential = 0;
  summary.at_candidate = 0;
  summary.unconverged = 0;
  summary.centre = input.reference;
  summary.centre_converged = input.reference_converged;
  for (const Sample& s : summary.samples) {
    if (s.redraws > 0) ++summary.redrawn;
    if (!s.valid) {
      ++summary.invalid;
      if (s.redraws > max_redraws) ++summary.too_many_planes;
      continue;
    }
    summary.at_candidate += s.at_candidate ? 1 : 0;
    summary.unconverged += s.converged ? 0 : 1;
    for (int32_t j = 0; j < 3; ++j) axes[j].push_back({s.axes[j][0], s.axes[j][1], s.axes[j][2]});
    r.push_back(s.R);
    threshold.push_back(s.threshold);
    if (s.differential_mpa) {
      differential.push_back(*s.differential_mpa);
      bracket_high.push_back(s.differential_high_mpa ? *s.differential_high_mpa
                                                     : std::numeric_limits<double>::infinity());
    } else {
      ++summary.undefined_differential;
    }
    shmax.push_back(s.shmax_deg);
  }
  const results::Axis* reference[3] = {&input.reference.sigma1, &input.reference.sigma2,
                                       &input.reference.sigma3};
  for (int32_t j = 0; j < 3; ++j) {
    const double c[3] = {reference[j]->vector[0], reference[j]->vector[1], reference[j]->vector[2]};
    summary.cone95_deg[static_cast<std::size_t>(j)] = cone_deg(c, axes[j]);
  }
  summary.R = percentile_interval(r);
  summary.threshold = percentile_interval(threshold);
  const auto inverted = static_cast<double>(r.size());
  if (!differential.empty() && summary.undefined_differential <= undefined_share_limit * inverted) {
    summary.differential_mpa = percentile_interval(differential);
    if (summary.bracket_interval)
      summary.differential_mpa->high = percentile_interval(bracket_high).high;
  } else {
    summary.differential_mpa.reset();
  }
  summary.shmax_spread_deg = axial_spread_deg(shmax);
}

}  // namespace bootstrap
