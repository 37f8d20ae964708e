// SPDX-License-Identifier: GPL-3.0-or-later
#include "gemino/start_points.h"

#include <cmath>
#include <utility>

#include "gemino/formats.h"
#include "gemino/trig.h"
#include "gemino/units.h"
#include "recfmt/statements.h"

namespace gemino {

namespace {

// The constants of the start points, all derived from the shared pi in single precision.
struct Angles {
  float pi, half_pi, two_pi, degree;
  explicit Angles(float p) : pi(p), half_pi(p / 2.0f), two_pi(2.0f * p), degree(p / 180.0f) {}
};

// An azimuth in degrees as an angle counted the other way round from azimuth 90. The
// record may hold any integer: the difference is formed wide enough for every one.
float turned_azimuth(int32_t direction, const Angles& k) {
  const int32_t turned = static_cast<int32_t>((450 - static_cast<int64_t>(direction)) % 360);
  return static_cast<float>(turned) * k.degree;
}

void keep_sigma1(State& s, int32_t d1, int32_t q1, const Angles& k) {
  s.start_t1 = turned_azimuth(d1, k);
  s.start_p1 = static_cast<float>(q1) * k.degree;
  s.start_x1 = trig::cos(s.start_p1) * trig::cos(s.start_t1);
  s.start_y1 = trig::cos(s.start_p1) * trig::sin(s.start_t1);
}

void keep_sigma3(State& s, int32_t d3, int32_t q3, const Angles& k) {
  s.start_t3 = turned_azimuth(d3, k);
  s.start_p3 = static_cast<float>(q3) * k.degree;
}

// The angles of the tensor whose sigma 1 is the kept (x1, y1) and whose sigma 3 is
// (u, v, z).
void angles_from_axes(const State& s, float u, float v, float z, const Angles& k, float& alpha,
                      float& beta, float& gamma) {
  const float h = std::sqrt(v * v + u * u);
  if (h > 0.001f) {
    const float un = u / h;
    const float vn = v / h;
    gamma = k.pi - trig::acos(vn * s.start_x1 - un * s.start_y1);
    beta = trig::acos(-z);
    alpha = trig::asin(-un);
    if (vn < 0.0f) alpha = k.pi - alpha;
    if (alpha < 0.0f) alpha = alpha + k.two_pi;
  } else {
    // Sigma 3 vertical: sigma 1 alone fixes the rotation.
    alpha = s.start_t1;
    beta = 0.0f;
    gamma = 0.0f;
  }
}

// A random sigma 3 perpendicular to the kept sigma 1, then its angles.
void random_about_sigma1(State& s, const Angles& k, float& alpha, float& beta, float& gamma) {
  float w;
  random_scaled(s.seed, w, k.pi);
  const float sw = trig::sin(w), cw = trig::cos(w);
  const float sp = trig::sin(s.start_p1), cp = trig::cos(s.start_p1);
  const float st = trig::sin(s.start_t1), ct = trig::cos(s.start_t1);
  const float u = -sw * sp * ct - cw * st;
  const float v = -sw * sp * st + cw * ct;
  const float z = -sw * cp;
  angles_from_axes(s, u, v, z, k, alpha, beta, gamma);
}

// A random rotation about the kept sigma 3.
void random_about_sigma3(State& s, const Angles& k, float& alpha, float& beta, float& gamma) {
  random_scaled(s.seed, gamma, k.pi);
  beta = k.half_pi - s.start_p3;
  alpha = s.start_t3 - k.half_pi;
  if (alpha < 0.0f) alpha = alpha + k.two_pi;
}

void all_random(State& s, const Angles& k, float& alpha, float& beta, float& gamma) {
  random_scaled(s.seed, gamma, k.pi);
  random_scaled(s.seed, beta, k.pi);
  random_scaled(s.seed, alpha, k.pi);
}

// Brings alpha below pi with the equivalent rotation.
void fold(const Angles& k, float& alpha, float& beta, float& gamma) {
  if (!(alpha < k.pi)) {
    alpha = alpha - k.pi;
    beta = k.pi - beta;
    gamma = k.pi - gamma;
  }
}

// The candidate of modes 1 to 3, new at every trial: random angles (mode 1), a random
// sigma 3 about the kept sigma 1 (mode 2) or a random rotation about the kept sigma 3
// (mode 3), then a random R.
void draw_candidate(State& s, int32_t m, const Angles& k, float& alpha, float& beta, float& gamma,
                    float& r) {
  if (m == 1) {
    all_random(s, k, alpha, beta, gamma);
  } else {
    if (m == 2) {
      random_about_sigma1(s, k, alpha, beta, gamma);
    } else {
      random_about_sigma3(s, k, alpha, beta, gamma);
    }
    fold(k, alpha, beta, gamma);
  }
  random_scaled(s.seed, r, 1.0f);
}

}  // namespace

void next_random(int32_t ix, int32_t& iy, float& u) {
  iy = static_cast<int32_t>(static_cast<uint32_t>(ix) * 65539u);
  if (iy < 0) iy = iy + 2147433648;
  u = static_cast<float>(iy) * 4.656613E-10f;
}

void random_scaled(int32_t& seed, float& value, float scale) {
  int32_t iy;
  float u;
  next_random(seed, iy, u);
  seed = iy;
  value = scale * u;
}

bool start_reads_record(int32_t start_mode, int32_t trial) {
  if (trial != 1) return !(start_mode >= 1 && start_mode <= 6);
  return start_mode != 1;
}

void start_candidate(State& s, int32_t trial, const StartRecord* record, float& alpha, float& beta,
                     float& gamma, float& r) {
  const int32_t m = s.start_mode;
  const Angles k(trig::pi);

  if (trial != 1) {
    if (m >= 1 && m <= 3) {
      draw_candidate(s, m, k, alpha, beta, gamma, r);
      return;
    }
    if (m == 4) {
      random_scaled(s.seed, r, 1.0f);
      return;
    }
    if (m == 5 || m == 6) return;
    // Other modes take a further record at every trial.
  }

  const StartRecord none;
  const StartRecord& rec = record != nullptr ? *record : none;
  if (record != nullptr) r = rec.r;

  switch (m) {
    case 1:
      break;
    case 2:
      keep_sigma1(s, rec.d1, rec.q1, k);
      break;
    case 3:
      keep_sigma3(s, rec.d3, rec.q3, k);
      break;
    case 4:
    case 5: {
      keep_sigma1(s, rec.d1, rec.q1, k);
      keep_sigma3(s, rec.d3, rec.q3, k);
      const float u = trig::cos(s.start_p3) * trig::cos(s.start_t3);
      const float v = trig::cos(s.start_p3) * trig::sin(s.start_t3);
      const float z = -trig::sin(s.start_p3);
      angles_from_axes(s, u, v, z, k, alpha, beta, gamma);
      fold(k, alpha, beta, gamma);
      if (m == 4) random_scaled(s.seed, r, 1.0f);  // mode 5 keeps the R of the record
      return;
    }
    default:
      return;  // the angles are left as they are; R is the one just read
  }
  draw_candidate(s, m, k, alpha, beta, gamma, r);
}

void choose_start(State& s, int32_t trial, float& alpha, float& beta, float& gamma, float& r) {
  const int32_t m = s.start_mode;
  if (!start_reads_record(m, trial)) {
    if (trial == 1) recfmt::write(report_unit, formats::box_close);
    start_candidate(s, trial, nullptr, alpha, beta, gamma, r);
    return;
  }
  // A short record leaves what it does not give as it was.
  StartRecord record;
  record.r = r;
  recfmt::read_list(parameter_unit, {record.d1, record.q1, record.d3, record.q3, record.r});
  recfmt::write(report_unit, formats::chosen_box,
                {record.d1, record.q1, record.d3, record.q3, record.r});
  recfmt::write(report_unit, formats::box_close);
  start_candidate(s, trial, &record, alpha, beta, gamma, r);
}

void relabel_axes(State& s, float& alpha, float& beta, float& gamma, float& r) {
  const Angles k(trig::pi);
  auto& m = s.axis_matrix;
  if (r > 1.0f) {
    gamma = gamma + k.half_pi;
    if (gamma > k.pi) gamma = gamma - k.pi;
    r = 1.0f / r;
    for (int j = 0; j < 3; ++j) std::swap(m[0][j], m[1][j]);
  } else if (r < 0.0f) {
    const float h = std::sqrt(m[1][1] * m[1][1] + m[1][0] * m[1][0]);
    if (h > 0.0001f) {
      const float u = m[1][0] / h;
      const float v = m[1][1] / h;
      gamma = k.pi - trig::acos(v * m[0][0] - u * m[0][1]);
      beta = trig::acos(-m[1][2]);
      alpha = trig::asin(-u);
      if (v < 0.0f) alpha = k.pi - alpha;
      if (alpha < 0.0f) alpha = alpha + k.two_pi;
    } else {
      gamma = 0.0f;
      beta = 0.0f;
      alpha = trig::acos(m[0][0]);
    }
    r = r / (r - 1.0f);
    for (int j = 0; j < 3; ++j) std::swap(m[1][j], m[2][j]);
  }
}

}  // namespace gemino
