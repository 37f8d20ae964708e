// SPDX-License-Identifier: GPL-3.0-or-later
#include "separation/separation.h"

#include <atomic>
#include <cmath>
#include <limits>
#include <mutex>
#include <thread>

#include "separation/model_choice.h"
#include "separation/planes.h"

namespace separation {

namespace {

// Thrown by a search whose inversion did not finish, to end the separation.
struct Unfinished {
  gemino::InversionStatus status;
};

int32_t twinned_in(std::span<const gemino::PlaneRow> rows) {
  int32_t n = 0;
  for (const gemino::PlaneRow& row : rows) n += row.twin_flag > 0 ? 1 : 0;
  return n;
}

// One tensor of one step: the converged search of the rows at the share.
Tensor invert_step(std::span<const gemino::PlaneRow> rows, int32_t share, int32_t seed,
                   const Options& options) {
  gemino::InversionOptions inversion;
  inversion.start_mode = 1;
  inversion.trial_count = options.trial_count;
  inversion.twin_percent = share;
  inversion.seed = seed;
  inversion.iteration_limit = options.iteration_limit;
  gemino::ConvergedOptions converged;
  converged.max_restarts = options.max_restarts;
  const gemino::ConvergedResult r = gemino::invert_converged(rows, inversion, converged);
  if (r.status != gemino::InversionStatus::done) throw Unfinished{r.status};
  Tensor t;
  t.tensor = r.best;
  // No candidate is given, so the answer is always a restart, made with this seed.
  t.seed = gemino::restart_seed(seed, r.best_restart);
  t.rows.assign(rows.begin(), rows.end());
  return t;
}

// The values the choice needs of a set of tensors: each row's TAU and each threshold.
struct Scores {
  std::vector<std::vector<float>> tau;
  std::vector<float> thresholds;
};

Scores scores_of(std::span<const gemino::PlaneRow> rows, const std::vector<Tensor>& tensors) {
  Scores s;
  for (const Tensor& t : tensors) {
    s.tau.push_back(shear_values(rows, t.tensor));
    s.thresholds.push_back(t.tensor.tensor.threshold);
  }
  return s;
}

// The refinement passes: each twinned plane to the tensor of largest TAU - SEUIL, then each
// tensor inverted again on its planes. A tensor given no twinned plane stays as it was.
void refine(std::span<const gemino::PlaneRow> rows, int32_t share, int32_t first_step,
            const Options& options, std::vector<Tensor>& tensors) {
  int32_t step = first_step;
  for (int32_t pass = 0; pass < options.passes; ++pass) {
    const Scores s = scores_of(rows, tensors);
    const std::vector<int32_t> owner = share_out(rows, s.tau, s.thresholds);
    for (std::size_t k = 0; k < tensors.size(); ++k) {
      const std::vector<gemino::PlaneRow> own = rows_for(rows, owner, static_cast<int32_t>(k));
      const int32_t seed = step_seed(options.seed, share, step++);
      if (twinned_in(own) == 0) continue;
      tensors[k] = invert_step(own, share, seed, options);
    }
  }
}

void describe(std::span<const gemino::PlaneRow> rows, Separation& out) {
  std::vector<Tensor>& tensors = out.tensors;
  const Scores s = scores_of(rows, tensors);
  const std::vector<int32_t> owner = share_out(rows, s.tau, s.thresholds);
  out.plane_tensor.assign(rows.size(), 0);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (owner[i] < 0) continue;
    const std::size_t k = static_cast<std::size_t>(owner[i]);
    ++tensors[k].twinned_given;
    if (at_or_above(s.tau[k][i], s.thresholds[k])) out.plane_tensor[i] = owner[i] + 1;
  }
  for (std::size_t k = 0; k < tensors.size(); ++k) {
    int32_t n = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
      n += rows[i].twin_flag > 0 && at_or_above(s.tau[k][i], s.thresholds[k]) ? 1 : 0;
    }
    tensors[k].twinned_explained = n;
  }
}

void add_permutations(std::span<const Tensor> set, int32_t share, bool refined,
                      std::vector<Permutation>& out) {
  for (std::size_t a = 0; a < set.size(); ++a) {
    for (std::size_t b = a + 1; b < set.size(); ++b) {
      const gemino::InvertedTensor& ta = set[a].tensor;
      const gemino::InvertedTensor& tb = set[b].tensor;
      const double angle = gemino::axial_angle_deg(ta.axes[2], tb.axes[2]);
      if (!may_be_permutation(angle, ta.tensor.params[3], tb.tensor.params[3])) continue;
      out.push_back({share, static_cast<int32_t>(set.size()), static_cast<int32_t>(a),
                     static_cast<int32_t>(b), angle, refined});
    }
  }
}

}  // namespace

// The pair as first found is the one looked at whether or not a second tensor is kept. On
// the twins of one oblate tensor the refinement gives each twin of the girdle about its
// sigma1-sigma2 plane to whichever tensor it suits better: the two then fit halves of one
// population, lose the high R or tilt their sigma3 apart, and no longer show what the data
// hold. A third tensor tried and refused says nothing of the events.
std::vector<Permutation> permutations_of(const Separation& s) {
  std::vector<Permutation> out;
  add_permutations(s.first_pair, s.share, false, out);
  if (s.chosen > 1) add_permutations(s.tensors, s.share, true, out);
  return out;
}

namespace {

Separation separate_checked(std::span<const gemino::PlaneRow> rows, int32_t share,
                            const Options& options) {
  Separation out;
  out.share = share;
  out.planes = static_cast<int32_t>(rows.size());
  out.twinned = twinned_in(rows);
  out.bic.fill(std::numeric_limits<double>::quiet_NaN());
  out.unexplained.fill(0);

  std::vector<Tensor> tensors;
  tensors.push_back(invert_step(rows, share, step_seed(options.seed, share, 0), options));
  for (int32_t k = 1;; ++k) {
    const Scores s = scores_of(rows, tensors);
    const std::size_t slot = static_cast<std::size_t>(k - 1);
    out.unexplained[slot] = unexplained_count(rows, s.tau, s.thresholds);
    out.bic[slot] = bic(out.unexplained[slot], out.planes, k);
    out.tried.push_back(tensors);
    if (k == 3) break;
    const CandidateSet candidates = candidate_set(rows, s.tau, s.thresholds);
    if (!enough_candidates(candidates.twinned, out.twinned)) break;
    const int32_t base = 1 + 100 * (k - 1);
    tensors.push_back(
        invert_step(candidates.rows, share, step_seed(options.seed, share, base), options));
    if (k == 1) out.first_pair = tensors;
    refine(rows, share, base + 1, options, tensors);
  }

  const int32_t tried = static_cast<int32_t>(out.tried.size());
  out.chosen = 1;
  if (options.tensors > 0) {
    out.chosen = options.tensors < tried ? options.tensors : tried;
  } else {
    for (int32_t k = 2; k <= tried; ++k) {
      const std::vector<Tensor>& set = out.tried[static_cast<std::size_t>(k - 1)];
      const Scores s = scores_of(rows, set);
      const int32_t fresh = newly_explained(rows, s.tau, s.thresholds, k - 1);
      const std::size_t slot = static_cast<std::size_t>(k - 1);
      if (!keep_further_tensor(out.bic[slot - 1], out.bic[slot], fresh, out.twinned)) break;
      out.chosen = k;
    }
  }
  out.tensors = out.tried[static_cast<std::size_t>(out.chosen - 1)];
  describe(rows, out);
  out.permutations = permutations_of(out);
  return out;
}

}  // namespace

int32_t step_seed(int32_t run_seed, int32_t share, int32_t step) {
  return gemino::restart_seed(gemino::restart_seed(run_seed, share), step);
}

Separation separate_at(std::span<const gemino::PlaneRow> rows, int32_t share,
                       const Options& options) {
  try {
    return separate_checked(rows, share, options);
  } catch (const Unfinished& u) {
    Separation out;
    out.status = u.status;
    out.share = share;
    return out;
  }
}

Separation separate(std::span<const gemino::PlaneRow> rows, const Options& given) {
  Options options = given;
  if (options.shares.empty()) options.shares.push_back(90);
  const int32_t count = static_cast<int32_t>(options.shares.size());
  std::vector<Separation> each(options.shares.size());
  std::atomic<int32_t> next{0};
  std::atomic<bool> stop{false};
  std::mutex told;
  int32_t done = 0;
  auto work = [&] {
    for (;;) {
      if (stop.load()) return;
      const int32_t i = next.fetch_add(1);
      if (i >= count) return;
      const std::size_t slot = static_cast<std::size_t>(i);
      each[slot] = separate_at(rows, options.shares[slot], options);
      const std::lock_guard<std::mutex> lock(told);
      ++done;
      if (options.progress && !options.progress(done, count)) stop.store(true);
    }
  };
  int32_t jobs = options.jobs > 0 ? options.jobs : 1;
  jobs = jobs < count ? jobs : count;
  {
    std::vector<std::jthread> helpers;
    for (int32_t w = 1; w < jobs; ++w) helpers.emplace_back(work);
    work();
  }
  Separation none;
  if (stop.load()) {
    none.status = gemino::InversionStatus::cancelled;
    return none;
  }
  const Separation* best = nullptr;
  for (const Separation& s : each) {
    if (s.status != gemino::InversionStatus::done) return s;
    const double value = s.bic[static_cast<std::size_t>(s.chosen - 1)];
    // A forced K is met first by the shares that reach it.
    const bool reaches = options.tensors <= 0 || s.chosen == options.tensors;
    if (best == nullptr) {
      best = &s;
      continue;
    }
    const bool best_reaches = options.tensors <= 0 || best->chosen == options.tensors;
    if ((reaches && !best_reaches) ||
        (reaches == best_reaches &&
         value < best->bic[static_cast<std::size_t>(best->chosen - 1)])) {
      best = &s;
    }
  }
  // Whether the data admit two tensors sharing sigma3 does not depend on the share that won:
  // the first pair of every share is looked at; the refined tensors only of the answer.
  Separation answer = *best;
  for (const Separation& s : each) {
    if (&s == best) continue;
    for (const Permutation& p : s.permutations) {
      if (!p.refined) answer.permutations.push_back(p);
    }
  }
  return answer;
}

}  // namespace separation
