// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/figure_files.h"

#include <stdexcept>

#include "figures/result_figures.h"

namespace cli {

namespace {

constexpr figures::FigureKind kinds[4] = {
    figures::FigureKind::stereonet, figures::FigureKind::grains, figures::FigureKind::shear_plot,
    figures::FigureKind::cumulative};
constexpr const char* option_names[4] = {"--stereonet", "--grains", "--shear-plot", "--cumulative"};
constexpr const char* descriptions[4] = {
    "Write the stress stereonet (lower hemisphere, equal area) to FILE",
    "Write the stereonet of the grains' c-axes to FILE",
    "Write TAU against the normal stress of every plane to FILE",
    "Write the cumulative chart of twinned and untwinned planes to FILE"};

// A figure's name must say its format: caught with the other mistakes of the command line.
std::string figure_name_check(const std::string& name) {
  if (figures::format_of(name) == figures::FileFormat::unknown) {
    return name + ": a figure's name must end in .svg, .pdf or .png";
  }
  return {};
}

}  // namespace

void FigureFiles::add_options(CLI::App& app) {
  for (int k = 0; k < 4; ++k) {
    app.add_option(option_names[k], files_[k], descriptions[k])
        ->option_text("FILE")
        ->check(CLI::Validator(figure_name_check, "FILE", "figure name"))
        ->group("Figures (after a sound run; .svg, .pdf or .png)");
  }
  app.add_option("--dpi", dpi_, "Pixels per inch of PNG figures (default 300)")
      ->option_text("N")
      ->check(CLI::Range(figures::min_dpi, figures::max_dpi))
      ->group("Figures (after a sound run; .svg, .pdf or .png)");
}

std::vector<std::filesystem::path> FigureFiles::outputs() const {
  return asked_files(files_);
}

void FigureFiles::write(const Run& run) {
  // The marks other extensions prepared for the stress stereonet.
  const figures::StereonetExtras& extras = run.stereonet_marks;
  const bool marked = !extras.dots.empty() || !extras.cones.empty();
  for (int k = 0; k < 4; ++k) {
    if (files_[k].empty()) continue;
    const figures::Figure figure =
        figures::result_figure(kinds[k], run.result, run.stress, figures::page_width,
                               figures::page_height, marked ? &extras : nullptr);
    std::string bytes;
    const std::string error =
        figures::render_figure(figure, figures::format_of(files_[k]), dpi_, bytes);
    if (!error.empty()) throw std::runtime_error(files_[k] + ": " + error);
    write_file(files_[k], bytes);
  }
}

void FigureFiles::site_arguments(std::vector<std::string>& args) const {
  args.push_back("--stereonet");
  args.push_back(site_stereonet);
}

std::string FigureFiles::batch_conflict() const {
  for (int k = 0; k < 4; ++k) {
    if (!files_[k].empty()) {
      return std::string(option_names[k]) + " names one file: a batch writes " + site_stereonet +
             " in every site folder";
    }
  }
  return {};
}

}  // namespace cli
