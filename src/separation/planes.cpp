// SPDX-License-Identifier: GPL-3.0-or-later
#include "separation/planes.h"

#include <algorithm>
#include <memory>

#include "gemino/tensor.h"

namespace separation {

namespace {

bool twinned(const gemino::PlaneRow& row) {
  return row.twin_flag > 0;
}

// Whether any tensor before `end` explains the twinned row i.
bool explained_before(std::span<const std::vector<float>> tau, std::span<const float> thresholds,
                      std::size_t i, std::size_t end) {
  for (std::size_t k = 0; k < end; ++k) {
    if (at_or_above(tau[k][i], thresholds[k])) return true;
  }
  return false;
}

}  // namespace

std::vector<float> shear_values(std::span<const gemino::PlaneRow> rows,
                                const gemino::InvertedTensor& tensor) {
  const auto state = std::make_unique<gemino::State>();
  const float* x = tensor.tensor.params;
  gemino::euler_matrix(*state, x[0], x[1], x[2]);
  std::vector<float> tau;
  tau.reserve(rows.size());
  for (const gemino::PlaneRow& row : rows) {
    float a[3];
    float b[3];
    gemino::principal_components(*state, row.pole, a);
    gemino::principal_components(*state, row.glide, b);
    tau.push_back(gemino::resolved_shear(x[3], a, b));
  }
  return tau;
}

CandidateSet candidate_set(std::span<const gemino::PlaneRow> rows, std::span<const float> tau,
                           float threshold) {
  const std::vector<float> one(tau.begin(), tau.end());
  return candidate_set(rows, std::span<const std::vector<float>>(&one, 1),
                       std::span<const float>(&threshold, 1));
}

CandidateSet candidate_set(std::span<const gemino::PlaneRow> rows,
                           std::span<const std::vector<float>> tau,
                           std::span<const float> thresholds) {
  CandidateSet set;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!twinned(rows[i]) || explained_before(tau, thresholds, i, tau.size())) continue;
    const int32_t number = rows[i].data_number;
    if (std::find(set.listed.begin(), set.listed.end(), number) == set.listed.end()) {
      set.listed.push_back(number);
    }
  }
  for (const gemino::PlaneRow& row : rows) {
    const bool listed =
        std::find(set.listed.begin(), set.listed.end(), row.data_number) != set.listed.end();
    if (twinned(row) && !listed) continue;
    set.rows.push_back(row);
    set.twinned += twinned(row) ? 1 : 0;
  }
  return set;
}

bool enough_candidates(int32_t candidate_twinned, int32_t twinned_total) {
  return candidate_twinned >= 8 &&
         static_cast<int64_t>(candidate_twinned) * 5 >= static_cast<int64_t>(twinned_total);
}

std::vector<int32_t> share_out(std::span<const gemino::PlaneRow> rows,
                               std::span<const std::vector<float>> tau,
                               std::span<const float> thresholds) {
  std::vector<int32_t> owner(rows.size(), -1);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!twinned(rows[i])) continue;
    float best = 0.0f;
    for (std::size_t k = 0; k < tau.size(); ++k) {
      const float margin = tau[k][i] - thresholds[k];
      if (owner[i] < 0 || margin > best) {
        owner[i] = static_cast<int32_t>(k);
        best = margin;
      }
    }
  }
  return owner;
}

std::vector<gemino::PlaneRow> rows_for(std::span<const gemino::PlaneRow> rows,
                                       std::span<const int32_t> owner, int32_t tensor) {
  std::vector<gemino::PlaneRow> kept;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!twinned(rows[i]) || owner[i] == tensor) kept.push_back(rows[i]);
  }
  return kept;
}

int32_t unexplained_count(std::span<const gemino::PlaneRow> rows,
                          std::span<const std::vector<float>> tau,
                          std::span<const float> thresholds) {
  int32_t e = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const bool any = explained_before(tau, thresholds, i, tau.size());
    // For an untwinned row, "some tensor puts it at or above its threshold".
    e += (twinned(rows[i]) ? !any : any) ? 1 : 0;
  }
  return e;
}

int32_t newly_explained(std::span<const gemino::PlaneRow> rows,
                        std::span<const std::vector<float>> tau, std::span<const float> thresholds,
                        int32_t k) {
  const std::size_t kk = static_cast<std::size_t>(k);
  int32_t n = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    if (!twinned(rows[i]) || !at_or_above(tau[kk][i], thresholds[kk])) continue;
    n += explained_before(tau, thresholds, i, kk) ? 0 : 1;
  }
  return n;
}

}  // namespace separation
