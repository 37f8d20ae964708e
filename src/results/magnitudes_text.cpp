// SPDX-License-Identifier: GPL-3.0-or-later
#include "results/magnitudes_text.h"

#include <cstdio>

namespace results {

namespace {

std::string format(const char* pattern, double a, double b = 0.0, double c = 0.0) {
  char buf[160];
  std::snprintf(buf, sizeof buf, pattern, a, b, c);
  return buf;
}

const char* regime_words(Regime regime) {
  switch (regime) {
    case Regime::NF:
      return "normal faulting";
    case Regime::NS:
      return "normal faulting with strike slip";
    case Regime::SS:
      return "strike slip";
    case Regime::TS:
      return "thrust faulting with strike slip";
    case Regime::TF:
      return "thrust faulting";
    case Regime::U:
      break;
  }
  return "unknown: no class fits the plunges";
}

}  // namespace

std::string magnitudes_text(const Result& r, const StressMagnitudes& m) {
  const TensorResult& t = r.result;
  std::string out = format("CRSS of twinning: %.1f MPa\n", m.crss_mpa);
  out += format("SEUIL (threshold): %.4f    R: %.3f\n", t.threshold, t.R);
  if (!m.defined) {
    out += "Differential stress: not defined (SEUIL is not positive)\n";
  } else {
    out += format(
        "Differential stress \u0394\u03c3 = \u03c31 \u2212 \u03c33 = CRSS / SEUIL = %.1f MPa\n",
        m.differential_mpa);
    if (m.has_upper) {
      out += format(
          "Bracket of the found tensor: %.1f MPa \u2264 \u0394\u03c3 < %.1f MPa (largest TAU of "
          "an untwinned plane below the threshold: %.4f)\n",
          m.differential_low_mpa, m.differential_high_mpa, m.largest_untwinned_tau);
    } else {
      out += format("Bracket of the found tensor: %.1f MPa \u2264 \u0394\u03c3, no upper end\n",
                    m.differential_low_mpa);
    }
    out +=
        "  (not a confidence interval: it holds for this tensor alone; the bootstrap interval\n"
        "  of \u0394\u03c3 is the one to quote for how well the data fix it)\n";
    out += format("\u03c32 \u2212 \u03c33 = R \u00b7 \u0394\u03c3 = %.1f MPa\n",
                  m.sigma2_minus_sigma3_mpa);
    out += format("Deviatoric stresses: s1 = %.1f, s2 = %.1f, s3 = %.1f MPa\n", m.deviatoric_mpa[0],
                  m.deviatoric_mpa[1], m.deviatoric_mpa[2]);
  }
  out += "Regime: " + std::string(regime_name(m.regime)) + " (" + regime_words(m.regime) + ")\n";
  out += format("SHmax azimuth: %05.1f\u00b0 (regime table)\n", m.shmax_azimuth);
  out += format("SHmax azimuth: %05.1f\u00b0 (largest horizontal compression of the tensor)\n",
                m.shmax_horizontal_azimuth);
  return out;
}

}  // namespace results
