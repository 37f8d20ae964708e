// SPDX-License-Identifier: GPL-3.0-or-later
// --stereonet, --grains, --shear-plot and --cumulative FILE, with --dpi N: the figures of
// a sound run, each in the format of its file's extension (.svg, .pdf, .png). A batch
// writes the stereonet of every site as stereonet.svg in its folder.
#pragma once

#include <cstdint>

#include "cli/extension.h"
#include "figures/cairo_render.h"

namespace cli {

inline constexpr const char* site_stereonet = "stereonet.svg";

class FigureFiles : public Extension {
 public:
  void add_options(CLI::App& app) override;
  std::vector<std::filesystem::path> outputs() const override;
  void write(const Run& run) override;
  void site_arguments(std::vector<std::string>& args) const override;
  std::string batch_conflict() const override;

 private:
  std::string files_[4];  // in the order of figures::FigureKind
  int32_t dpi_ = figures::default_dpi;
};

}  // namespace cli
