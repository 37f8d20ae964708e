// SPDX-License-Identifier: GPL-3.0-or-later
#include "figures/result_figures.h"

#include <cmath>

#include "figures/cairo_render.h"
#include "figures/net_layout.h"

namespace figures {

namespace {

LineOrientation orientation(const results::Line& line) {
  return {line.trend, line.plunge};
}

// Δσ and its bracket: at least CRSS / SEUIL, below CRSS over the largest TAU of an
// untwinned plane ranked below the threshold.
std::string stress_difference_line(const results::StressMagnitudes& m) {
  if (!m.defined) return "Δσ undefined: SEUIL not positive";
  std::string line = "Δσ = " + format_number(m.differential_mpa, 1) + " MPa";
  if (m.has_upper) line += " (< " + format_number(m.differential_high_mpa, 1) + ")";
  return line;
}

}  // namespace

PoleKind pole_kind(results::PlaneClass cls) {
  switch (cls) {
    case results::PlaneClass::counted:
      return PoleKind::counted;
    case results::PlaneClass::twinned_below:
      return PoleKind::twinned_below;
    case results::PlaneClass::untwinned_ok:
      return PoleKind::untwinned_ok;
    case results::PlaneClass::untwinned_violating:
      return PoleKind::untwinned_violating;
  }
  return PoleKind::counted;
}

std::string title_of(const results::Result& r) {
  return r.parameters.title.empty() ? std::string("Gemino") : r.parameters.title;
}

std::string_view figure_title(FigureKind kind) {
  switch (kind) {
    case FigureKind::stereonet:
      return "Stereonet";
    case FigureKind::grains:
      return "Grains";
    case FigureKind::shear_plot:
      return "Shear-stress plot";
    case FigureKind::cumulative:
      return "Cumulative chart";
    case FigureKind::twin_scan:
      return "Twin-percent scan";
  }
  return "";
}

StereonetInput stereonet_input(const results::Result& r, const results::StressMagnitudes& m) {
  const results::TensorResult& t = r.result;
  StereonetInput in;
  in.title = title_of(r);
  in.sigma[0] = orientation(t.sigma1.line);
  in.sigma[1] = orientation(t.sigma2.line);
  in.sigma[2] = orientation(t.sigma3.line);
  for (const results::Plane& plane : r.planes) {
    in.poles.push_back({plane.number, orientation(plane.pole), pole_kind(plane.cls)});
  }
  in.shmax = m.shmax_azimuth;
  const results::Counts& c = r.counts;
  in.summary = {
      "σ1 " + trend_plunge(in.sigma[0]) + "   σ2 " + trend_plunge(in.sigma[1]) + "   σ3 " +
          trend_plunge(in.sigma[2]),
      "R = " + format_number(t.R, 3) + "   SEUIL = " + format_number(t.threshold, 4),
      stress_difference_line(m),
      "  for CRSS = " + format_number(m.crss_mpa, 1) + " MPa",
      "objective = " + format_number(t.objective, 2),
      "regime " + std::string(results::regime_name(m.regime)) + ", SHmax " +
          format_number(m.shmax_azimuth, 0) + "°",
      std::to_string(c.planes) + " planes, " + std::to_string(c.twinned) + " twinned",
      "above SEUIL: " + std::to_string(c.counted) + " twinned, " +
          std::to_string(c.untwinned_violating) + " untwinned",
  };
  return in;
}

std::string result_line(const results::Result& r, const results::StressMagnitudes& m) {
  const results::TensorResult& t = r.result;
  std::string line = "σ1 " + trend_plunge(orientation(t.sigma1.line)) + ", σ2 " +
                     trend_plunge(orientation(t.sigma2.line)) + ", σ3 " +
                     trend_plunge(orientation(t.sigma3.line)) + ", R " + format_number(t.R, 3) +
                     ", SEUIL " + format_number(t.threshold, 4) + ", ";
  line += m.defined ? "Δσ " + format_number(m.differential_mpa, 1) + " MPa (CRSS " +
                          format_number(m.crss_mpa, 1) + ")"
                    : std::string("Δσ undefined");
  return line + ", regime " + std::string(results::regime_name(m.regime)) + ", SHmax " +
         format_number(m.shmax_azimuth, 0) + "°";
}

GrainsInput grains_input(const results::Result& r) {
  GrainsInput in;
  in.title = title_of(r);
  for (const results::Grain& grain : r.grains) {
    in.axes.push_back({grain.number, orientation(grain.c_axis)});
  }
  in.summary = {"c-axes of " + std::to_string(r.grains.size()) + " grains",
                std::to_string(r.counts.blocks) + (r.counts.blocks == 1 ? " block" : " blocks"),
                "equal area, lower hemisphere"};
  return in;
}

double normal_stress_term(const results::Result& r, const results::Plane& plane) {
  const results::TensorResult& t = r.result;
  auto along = [&](const float(&axis)[3]) {
    double dot = 0.0;
    for (int k = 0; k < 3; ++k) {
      dot += static_cast<double>(plane.pole_vector[k]) * static_cast<double>(axis[k]);
    }
    return dot * dot;
  };
  return along(t.sigma1.vector) + static_cast<double>(t.R) * along(t.sigma2.vector);
}

PlotInput plot_input(const results::Result& r, const results::StressMagnitudes& m) {
  PlotInput in;
  in.title = title_of(r);
  in.threshold = r.result.threshold;
  if (m.defined) in.stress_difference_mpa = m.differential_mpa;
  in.crss_mpa = m.crss_mpa;
  for (const results::Plane& plane : r.planes) {
    in.planes.push_back({plane.number, plane.tau, normal_stress_term(r, plane), plane.twinned,
                         pole_kind(plane.cls)});
  }
  return in;
}

Figure result_figure(FigureKind kind, const results::Result& r, const results::StressMagnitudes& m,
                     double width, double height, const StereonetExtras* extras) {
  switch (kind) {
    case FigureKind::stereonet: {
      StereonetInput in = stereonet_input(r, m);
      if (extras != nullptr) {
        in.dots = extras->dots;
        in.cones = extras->cones;
        in.dots_legend = extras->dots_legend;
        in.cones_legend = extras->cones_legend;
        in.marks_legend = extras->marks_legend;
        if (!extras->pole_dot_rows.empty()) {
          in.poles.clear();
          in.pole_dot_rows = extras->pole_dot_rows;
        }
      }
      return stress_stereonet(in, width, height);
    }
    case FigureKind::grains:
      return grains_stereonet(grains_input(r), width, height);
    case FigureKind::shear_plot:
      return shear_stress_plot(plot_input(r, m), width, height);
    case FigureKind::cumulative:
      return cumulative_chart(plot_input(r, m), width, height);
    case FigureKind::twin_scan:
      break;
  }
  Figure blank;
  blank.width = width;
  blank.height = height;
  return blank;
}

std::string write_result_figure(FigureKind kind, const results::Result& r,
                                const results::StressMagnitudes& m, const std::string& path,
                                int32_t dpi, const StereonetExtras* extras) {
  return write_figure(result_figure(kind, r, m, page_width, page_height, extras), path, dpi);
}

}  // namespace figures
