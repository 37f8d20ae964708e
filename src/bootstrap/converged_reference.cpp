// SPDX-License-Identifier: GPL-3.0-or-later
#include "bootstrap/converged_reference.h"

namespace bootstrap {

gemino::ConvergedResult search_full_data(const RunInput& input,
                                         const gemino::ConvergedOptions& options) {
  gemino::InversionOptions run;
  run.start_mode = 1;
  run.trial_count = input.trial_count;
  run.twin_percent = input.twin_percent;
  run.seed = input.seed;
  run.iteration_limit = input.iteration_limit;
  gemino::ConvergedOptions with_reference = options;
  const float* p = input.reference.params;
  with_reference.candidates.push_back({p[0], p[1], p[2], p[3]});
  return gemino::invert_converged(input.rows, run, with_reference);
}

bool finds_better_reference(const RunInput& input, const gemino::ConvergedResult& search,
                            float tolerance) {
  if (search.status != gemino::InversionStatus::done) return false;
  return input.reference.objective_reported_units - search.best.objective_reported > tolerance;
}

RunInput with_converged_reference(RunInput input, const gemino::ConvergedResult& search,
                                  float tolerance) {
  if (finds_better_reference(input, search, tolerance)) {
    input.reference = tensor_result(search.best);
    input.reference_converged = true;
  }
  return input;
}

CentredInput centred_on_converged(RunInput input, const gemino::ConvergedOptions& options) {
  CentredInput out;
  out.search = search_full_data(input, options);
  out.input = with_converged_reference(std::move(input), out.search, options.tolerance);
  return out;
}

}  // namespace bootstrap
