// SPDX-License-Identifier: GPL-3.0-or-later
// How well the separation of tensors works on synthetic mixtures: the share of sets for
// which it chooses the right number of tensors, the error of the sigma1 axes it finds, and
// how often it warns of a stress permutation. A measurement, not a test: it prints a table.
//   separation_table [SETS] [JOBS]
//   separation_table example      the first exchanged set, worked through
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "separation/mixture.h"
#include "separation/outputs.h"
#include "separation/separation.h"

namespace {

using separation::MixtureKind;

struct Row {
  std::string name;
  int32_t expected;
  int32_t sets = 0;
  int32_t right_k = 0;
  int32_t warned = 0;
  std::vector<double> sigma1_error;  // mean over the true tensors, when K is right
};

// The mean angle from each true sigma1 to the nearest sigma1 found.
double mean_sigma1_error(const separation::Mixture& m, const separation::Separation& s) {
  double sum = 0.0;
  for (const separation::TrueTensor& t : m.tensors) {
    double nearest = 90.0;
    for (const separation::Tensor& found : s.tensors) {
      nearest = std::min(nearest, separation::axis_angle_deg(t.sigma1, found.tensor.axes[0]));
    }
    sum += nearest;
  }
  return sum / static_cast<double>(m.tensors.size());
}

double median(std::vector<double> v) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 == 1 ? v[n / 2] : 0.5 * (v[n / 2 - 1] + v[n / 2]);
}

}  // namespace

// The first set of the exchanged mixtures, every number of the choice shown.
int worked_example() {
  separation::MixtureRecipe recipe;
  recipe.seed = 1000;
  const separation::Mixture m = separation::make_mixture(recipe);
  for (std::size_t k = 0; k < m.tensors.size(); ++k) {
    const separation::TrueTensor& t = m.tensors[k];
    float s1[3];
    float s3[3];
    for (int j = 0; j < 3; ++j) {
      s1[j] = static_cast<float>(t.sigma1[j]);
      s3[j] = static_cast<float>(t.sigma3[j]);
    }
    const results::Line l1 = results::line_of(s1);
    const results::Line l3 = results::line_of(s3);
    std::printf("true tensor %zu: sigma1 %03.0f/%02.0f sigma3 %03.0f/%02.0f R %.3f\n", k + 1,
                static_cast<double>(l1.trend), static_cast<double>(l1.plunge),
                static_cast<double>(l3.trend), static_cast<double>(l3.plunge), t.R);
  }
  separation::Options options;
  options.seed = static_cast<int32_t>(recipe.seed * 2 + 1);
  for (const int32_t share : options.shares) {
    const separation::Separation s = separation::separate_at(m.rows, share, options);
    std::printf("share %d %%: N %d, twinned %d; K=1 e %d BIC %.2f", share, s.planes, s.twinned,
                s.unexplained[0], s.bic[0]);
    for (std::size_t k = 1; k < s.tried.size(); ++k) {
      std::printf("; K=%zu e %d BIC %.2f", k + 1, s.unexplained[k], s.bic[k]);
    }
    std::printf("; chosen %d\n", s.chosen);
  }
  const separation::Separation s = separation::separate(m.rows, options);
  std::printf("answer: share %d %%, K %d\n%s", s.share, s.chosen,
              separation::tensors_summary(s, 10.0).c_str());
  std::printf("mean sigma1 error %.1f deg\n", mean_sigma1_error(m, s));
  return 0;
}

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "example") return worked_example();
  const int32_t sets = argc > 1 ? std::atoi(argv[1]) : 20;
  const int32_t jobs = argc > 2 ? std::atoi(argv[2]) : 1;
  Row rows[3] = {{"exchanged sigma1/sigma3, 100 grains", 2, 0, 0, 0, {}},
                 {"single tensor, 60-100 grains, 0-2 % misread", 1, 0, 0, 0, {}},
                 {"shared sigma3, one oblate (R 0.75-0.9)", 2, 0, 0, 0, {}}};
  const MixtureKind kinds[3] = {MixtureKind::exchanged, MixtureKind::single,
                                MixtureKind::shared_sigma3};
  for (int32_t r = 0; r < 3; ++r) {
    for (int32_t i = 0; i < sets; ++i) {
      separation::MixtureRecipe recipe;
      recipe.seed = 1000u * static_cast<uint64_t>(r + 1) + static_cast<uint64_t>(i);
      recipe.kind = kinds[r];
      if (recipe.kind == MixtureKind::single) {
        recipe.grains = 60 + (i * 37) % 41;
        recipe.flipped_share = 0.02 * static_cast<double>(i % 3) / 2.0;
      }
      const separation::Mixture m = separation::make_mixture(recipe);
      separation::Options options;
      options.seed = static_cast<int32_t>(recipe.seed * 2 + 1);
      options.jobs = jobs;
      const separation::Separation s = separation::separate(m.rows, options);
      Row& row = rows[r];
      ++row.sets;
      const bool right = s.chosen == row.expected;
      row.right_k += right ? 1 : 0;
      row.warned += s.permutations.empty() ? 0 : 1;
      if (right) row.sigma1_error.push_back(mean_sigma1_error(m, s));
      std::printf("%-46s set %2d: planes %3d twinned %3d share %2d K %d BIC %.1f %.1f %.1f%s\n",
                  row.name.c_str(), i, s.planes, s.twinned, s.share, s.chosen, s.bic[0], s.bic[1],
                  s.bic[2], s.permutations.empty() ? "" : " permutation?");
      for (const separation::Permutation& p : s.permutations) {
        std::printf("    %s\n", separation::permutation_text(p).c_str());
      }
      std::fflush(stdout);
    }
  }
  std::printf("\n| Sets | Count | Expected K | Right K | Median mean-sigma1 error | Warned |\n");
  std::printf("|---|---|---|---|---|---|\n");
  for (const Row& row : rows) {
    std::printf("| %s | %d | %d | %d (%.0f %%) | %.1f deg | %d |\n", row.name.c_str(), row.sets,
                row.expected, row.right_k, 100.0 * row.right_k / std::max(1, row.sets),
                median(row.sigma1_error), row.warned);
  }
  return 0;
}
