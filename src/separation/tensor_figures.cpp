// SPDX-License-Identifier: GPL-3.0-or-later
#include "separation/tensor_figures.h"

#include "separation/outputs.h"
#include "separation/run_outputs.h"

namespace separation {

std::vector<TensorStereonet> tensor_stereonets(const results::Result& run_result,
                                               std::span<const gemino::PlaneRow> rows,
                                               const Separation& s, double crss_mpa) {
  std::vector<TensorStereonet> out;
  if (s.tensors.empty()) return out;
  for (std::size_t k = 0; k < s.tensors.size() && k < 3; ++k) {
    TensorStereonet net;
    net.tag = tensor_tags[k];
    net.result = result_under(run_result, rows, s.tensors[k]);
    net.stress = results::stress_magnitudes(net.result, crss_mpa);
    out.push_back(std::move(net));
  }
  TensorStereonet all;
  all.tag = "tensors";
  all.combined = true;
  const results::Result& first = out.front().result;
  for (std::size_t i = 0; i < first.planes.size() && i < s.plane_tensor.size(); ++i) {
    const results::Line& l = first.planes[i].pole;
    all.extras.dots.push_back({{l.trend, l.plunge}, s.plane_tensor[i]});
  }
  for (std::size_t k = 1; k < s.tensors.size(); ++k) {
    const results::TensorResult t = tensor_result(s.tensors[k].tensor);
    const results::Line* axes[3] = {&t.sigma1.line, &t.sigma2.line, &t.sigma3.line};
    for (int32_t j = 0; j < 3; ++j) {
      all.extras.cones.push_back({{axes[j]->trend, axes[j]->plunge}, 4.0, j + 1});
    }
  }
  if (s.tensors.size() == 2) all.extras.marks_legend = "axes of tensor 2";
  if (s.tensors.size() > 2) all.extras.marks_legend = "axes of tensors 2 and 3";
  bool unexplained = false;
  for (const figures::OverlayDot& dot : all.extras.dots)
    unexplained = unexplained || dot.sigma == 0;
  for (std::size_t k = 0; k < s.tensors.size() && k < 3; ++k) {
    all.extras.pole_dot_rows.emplace_back(static_cast<int32_t>(k + 1),
                                          "planes of tensor " + std::to_string(k + 1));
  }
  if (unexplained) all.extras.pole_dot_rows.emplace_back(0, "untwinned or unexplained");
  // Its planes stay: a figure following another CRSS finds its bracket from them.
  all.result = first;
  all.stress = out.front().stress;
  out.push_back(std::move(all));
  return out;
}

figures::Figure tensor_figure(const TensorStereonet& net, double width, double height) {
  return figures::result_figure(figures::FigureKind::stereonet, net.result, net.stress, width,
                                height, net.combined ? &net.extras : nullptr);
}

}  // namespace separation
