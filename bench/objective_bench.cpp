// SPDX-License-Identifier: GPL-3.0-or-later
// One evaluation of the objective over 500 planes of calcite-like grains: a c-axis per
// grain and three twin planes at about 26 degrees from it, 120 degrees apart, part of
// them twinned. The targets: at most 5 microseconds per evaluation with the full ranking,
// 2.5 with the score the search takes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "gemino/objective.h"
#include "gemino/state.h"

namespace {

using gemino::State;

void unit(float (&v)[3]) {
  const float n = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  for (float& c : v) c /= n;
}

void fill_grains(State& s) {
  gemino::reset_state(s);
  std::mt19937 gen(42);
  std::uniform_real_distribution<float> uni(-1.0f, 1.0f);
  std::uniform_real_distribution<float> jitter(-0.05f, 0.05f);
  std::bernoulli_distribution twinned(0.4);
  int32_t twins = 0;
  for (int32_t row = 0; row < gemino::max_rows; ++row) {
    static float c[3], e1[3], e2[3];
    if (row % 3 == 0) {
      // A new grain: a random c-axis and two unit vectors across it.
      do {
        for (float& x : c) x = uni(gen);
      } while (c[0] * c[0] + c[1] * c[1] + c[2] * c[2] > 1.0f);
      unit(c);
      float t[3] = {0.0f, 0.0f, 1.0f};
      if (std::fabs(c[2]) > 0.9f) t[0] = 1.0f;
      e1[0] = c[1] * t[2] - c[2] * t[1];
      e1[1] = c[2] * t[0] - c[0] * t[2];
      e1[2] = c[0] * t[1] - c[1] * t[0];
      unit(e1);
      e2[0] = c[1] * e1[2] - c[2] * e1[1];
      e2[1] = c[2] * e1[0] - c[0] * e1[2];
      e2[2] = c[0] * e1[1] - c[1] * e1[0];
    }
    const float turn = 2.0943951f * static_cast<float>(row % 3) + jitter(gen);
    const float tilt = 0.4537856f + jitter(gen);  // about 26 degrees
    float p[3];
    for (int k = 0; k < 3; ++k) {
      p[k] = std::cos(tilt) * c[k] +
             std::sin(tilt) * (std::cos(turn) * e1[k] + std::sin(turn) * e2[k]);
    }
    unit(p);
    // Glide: the c-axis projected onto the plane.
    const float d = c[0] * p[0] + c[1] * p[1] + c[2] * p[2];
    float g[3] = {c[0] - d * p[0], c[1] - d * p[1], c[2] - d * p[2]};
    unit(g);
    for (int k = 0; k < 3; ++k) {
      s.pole[row][k] = p[k];
      s.glide[row][k] = g[k];
    }
    s.data_number[row] = row + 1;
    s.twin_flag[row] = twinned(gen) ? 1 : -1;
    twins += s.twin_flag[row] > 0;
  }
  s.data_count = gemino::max_rows;
  s.twin_limit = twins * 80 / 100;
}

// Times `score` over 500 grains on a handful of trial tensors in turn, as the search
// visits them.
template <typename Score>
void score_in_turn(benchmark::State& bench, Score score) {
  static State s;
  fill_grains(s);
  float params[16][4];
  std::mt19937 gen(7);
  std::uniform_real_distribution<float> angle(-3.2f, 3.2f);
  std::uniform_real_distribution<float> ratio(0.0f, 1.0f);
  for (auto& x : params) x[0] = angle(gen), x[1] = angle(gen), x[2] = angle(gen), x[3] = ratio(gen);
  int i = 0;
  for (auto _ : bench) {
    float f;
    score(s, params[i & 15], f);
    benchmark::DoNotOptimize(f);
    ++i;
  }
}

void BM_Objective500(benchmark::State& bench) {
  score_in_turn(bench, [](State& s, float(&x)[4], float& f) { gemino::objective(s, x, f); });
}
BENCHMARK(BM_Objective500);

// The score alone, as the search takes it at every trial step.
void BM_ObjectiveScore500(benchmark::State& bench) {
  score_in_turn(bench, [](State& s, float(&x)[4], float& f) { gemino::objective_score(s, x, f); });
}
BENCHMARK(BM_ObjectiveScore500);

void BM_RankPlanes500(benchmark::State& bench) {
  static State s;
  fill_grains(s);
  float scratch[gemino::max_rows];
  std::mt19937 gen(3);
  std::uniform_real_distribution<float> v(-0.5f, 0.5f);
  for (float& t : scratch) t = v(gen);
  float f;
  for (auto _ : bench) {
    // The unranked values again before each ranking.
    for (int32_t r = 0; r < gemino::max_rows; ++r) s.shear_list[r] = scratch[r];
    gemino::rank_planes(s, f);
    benchmark::DoNotOptimize(f);
  }
}
BENCHMARK(BM_RankPlanes500);

}  // namespace
