// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/tensors.h"

#include <iostream>
#include <stdexcept>

#include "figures/cairo_render.h"
#include "gemino/invert.h"
#include "separation/outputs.h"
#include "separation/run_outputs.h"
#include "separation/tensor_figures.h"

namespace cli {

namespace {

using separation::tensor_tags;

std::string report_name(const CLI::Option* files) {
  if (files == nullptr || files->count() != 3) return {};
  return files->results()[2];
}

std::string stereonet_name(const CLI::Option* stereonet) {
  if (stereonet == nullptr || stereonet->count() == 0) return {};
  return stereonet->results().back();
}

}  // namespace

void Tensors::add_options(CLI::App& app) {
  app.add_option("--tensors", asked_,
                 "Separate the twins into stress tensors: auto (choose 1, 2 or 3) or that many; "
                 "a summary, a JSON block, a CSV column, report.t2.txt per further tensor")
      ->type_name("auto|1|2|3")
      ->check(CLI::IsMember({"auto", "1", "2", "3"}))
      ->group("Tensors");
  files_option_ = app.get_option_no_throw("files");
  stereonet_option_ = app.get_option_no_throw("--stereonet");
  dpi_option_ = app.get_option_no_throw("--dpi");
}

std::vector<std::filesystem::path> Tensors::outputs() const {
  std::vector<std::filesystem::path> out;
  if (asked_.empty()) return out;
  // The further reports are not among them: a report cannot be told from another text file,
  // so an earlier one is neither replaced before the run nor removed after a failed one.
  if (const std::string net = stereonet_name(stereonet_option_); !net.empty()) {
    for (const char* tag : tensor_tags) out.push_back(beside(net, tag));
    out.push_back(beside(net, "tensors"));
  }
  return out;
}

void Tensors::prepare(Run& run) {
  if (asked_.empty()) return;
  const gemino::State& state = run.state;
  const std::vector<gemino::PlaneRow> rows = gemino::rows_of(state);
  const separation::Options options =
      separation::run_options(state, asked_ == "auto" ? 0 : std::stoi(asked_), run.options.jobs);
  const separation::Separation s = separation::separate(rows, options);
  if (s.status != gemino::InversionStatus::done) {
    throw std::runtime_error("the separation of tensors did not finish");
  }
  found_ = s;
  run.json_blocks["tensors"] = separation::tensors_json(s, asked_, run.options.crss_mpa);
  run.plane_tensors = s.plane_tensor;
  console_text_ = separation::tensors_summary(s, run.options.crss_mpa);

  if (const std::string report = report_name(files_option_); !report.empty()) {
    for (auto& file : separation::further_reports(state, s, options, report, run.options.files)) {
      files_.push_back(std::move(file));
    }
  }
  if (const std::string net = stereonet_name(stereonet_option_); !net.empty()) {
    const int32_t dpi = dpi_option_ != nullptr && dpi_option_->count() > 0
                            ? dpi_option_->as<int32_t>()
                            : figures::default_dpi;
    const figures::FileFormat format = figures::format_of(net);
    for (const separation::TensorStereonet& each :
         separation::tensor_stereonets(run.result, rows, s, run.options.crss_mpa)) {
      const std::filesystem::path path = beside(net, each.tag);
      std::string bytes;
      const std::string error = figures::render_figure(
          separation::tensor_figure(each, figures::page_width, figures::page_height), format, dpi,
          bytes);
      if (!error.empty()) throw std::runtime_error(path.string() + ": " + error);
      files_.emplace_back(path, bytes);
    }
  }
}

void Tensors::write(const Run& /*run*/) {
  if (asked_.empty()) return;
  if (!console_text_.empty()) std::cout << console_text_ << std::flush;
  for (const auto& [path, bytes] : files_) write_file(path, bytes);
  // A further report of an earlier run with more tensors is left as it is, and said so.
  if (const std::string report = report_name(files_option_); !report.empty() && found_) {
    for (std::size_t k = found_->tensors.size(); k < 3; ++k) {
      const std::filesystem::path stale = beside(report, tensor_tags[k]);
      std::error_code ec;
      if (k > 0 && std::filesystem::exists(stale, ec)) {
        std::cerr << "gemino-term: " << stale.string() << " is not of this run (it found "
                  << found_->tensors.size() << " tensors): left as it is\n";
      }
    }
  }
}

void Tensors::site_arguments(std::vector<std::string>& args) const {
  if (!asked_.empty()) args.insert(args.end(), {"--tensors", asked_});
}

std::vector<std::pair<std::string, std::string>> Tensors::summary_columns() const {
  if (asked_.empty()) return {};
  return {{"tensors", "/tensors/K"}};
}

}  // namespace cli
