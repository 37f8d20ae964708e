// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/tensors.h"

#include <iostream>
#include <stdexcept>

#include "cli/same_file.h"
#include "figures/cairo_render.h"
#include "gemino/invert.h"
#include "separation/outputs.h"
#include "separation/tensor_report.h"

namespace cli {

namespace {

constexpr const char* tags[3] = {"t1", "t2", "t3"};

std::string report_name(const CLI::Option* files) {
  if (files == nullptr || files->count() != 3) return {};
  return files->results()[2];
}

std::string stereonet_name(const CLI::Option* stereonet) {
  if (stereonet == nullptr || stereonet->count() == 0) return {};
  return stereonet->results().back();
}

// The stress stereonet of every tensor at once: the first tensor's axes drawn as the
// stereonet draws them, each pole coloured by its tensor (grey for none) and the other
// tensors' axes as small cones in the colours of sigma 1, 2 and 3.
figures::Figure combined_stereonet(const Run& run, const separation::Separation& s) {
  const std::vector<gemino::PlaneRow> rows = gemino::rows_of(run.state);
  const results::Result first = separation::result_under(run.result, rows, s.tensors[0]);
  figures::StereonetExtras extras;
  for (std::size_t i = 0; i < first.planes.size() && i < s.plane_tensor.size(); ++i) {
    const results::Line& l = first.planes[i].pole;
    extras.dots.push_back({{l.trend, l.plunge}, s.plane_tensor[i]});
  }
  for (std::size_t k = 1; k < s.tensors.size(); ++k) {
    const results::TensorResult t = separation::tensor_result(s.tensors[k].tensor);
    const results::Line* axes[3] = {&t.sigma1.line, &t.sigma2.line, &t.sigma3.line};
    for (int32_t j = 0; j < 3; ++j) {
      extras.cones.push_back({{axes[j]->trend, axes[j]->plunge}, 4.0, j + 1});
    }
  }
  results::Result shown = first;
  shown.planes.clear();
  return figures::result_figure(figures::FigureKind::stereonet, shown, run.stress,
                                figures::page_width, figures::page_height, &extras);
}

}  // namespace

std::filesystem::path beside(const std::filesystem::path& path, const std::string& tag) {
  std::filesystem::path out = path;
  out.replace_filename(path.stem().string() + "." + tag + path.extension().string());
  return out;
}

std::string with_tensor_column(const std::string& csv, const std::vector<int32_t>& tensors) {
  std::string out;
  std::size_t start = 0;
  std::size_t line = 0;
  while (start < csv.size()) {
    std::size_t end = csv.find('\n', start);
    if (end == std::string::npos) end = csv.size();
    out.append(csv, start, end - start);
    if (line == 0) {
      out += ",tensor";
    } else {
      const std::size_t i = line - 1;
      out += "," + std::to_string(i < tensors.size() ? tensors[i] : 0);
    }
    out += "\n";
    start = end + 1;
    ++line;
  }
  return out;
}

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
    for (const char* tag : tags) out.push_back(beside(net, tag));
    out.push_back(beside(net, "tensors"));
  }
  return out;
}

void Tensors::prepare(Run& run) {
  if (asked_.empty()) return;
  const gemino::State& state = run.state;
  const std::vector<gemino::PlaneRow> rows = gemino::rows_of(state);
  separation::Options options;
  if (state.twin_percent > 0 && state.twin_percent < 100) {
    bool listed = false;
    for (const int32_t p : options.shares) listed = listed || p == state.twin_percent;
    if (!listed) options.shares.insert(options.shares.begin(), state.twin_percent);
  }
  options.tensors = asked_ == "auto" ? 0 : std::stoi(asked_);
  options.trial_count = state.trial_count > 0 ? state.trial_count : 1;
  options.iteration_limit = state.iteration_limit;
  options.seed = state.record.seed;
  options.jobs = run.options.jobs;
  const separation::Separation s = separation::separate(rows, options);
  if (s.status != gemino::InversionStatus::done) {
    throw std::runtime_error("the separation of tensors did not finish");
  }
  found_ = s;
  run.json_blocks["tensors"] = separation::tensors_json(s, asked_, run.options.crss_mpa);
  run.plane_tensors = s.plane_tensor;
  console_text_ = separation::tensors_summary(s, run.options.crss_mpa);

  if (const std::string report = report_name(files_option_); !report.empty()) {
    for (std::size_t k = 1; k < s.tensors.size(); ++k) {
      const std::optional<std::string> text = separation::tensor_report(
          state, s.tensors[k], s.share, options.trial_count, options.iteration_limit);
      const std::filesystem::path path = beside(report, tags[k]);
      if (!text) throw std::runtime_error("the report of tensor " + std::to_string(k + 1));
      for (const std::string& file : run.options.files) {
        if (same_file(path, file)) {
          throw std::runtime_error(path.string() + " is a file of the run: not written over");
        }
      }
      files_.emplace_back(path, *text);
    }
  }
  if (const std::string net = stereonet_name(stereonet_option_); !net.empty()) {
    const int32_t dpi = dpi_option_ != nullptr && dpi_option_->count() > 0
                            ? dpi_option_->as<int32_t>()
                            : figures::default_dpi;
    const figures::FileFormat format = figures::format_of(net);
    auto render = [&](const figures::Figure& figure, const std::filesystem::path& path) {
      std::string bytes;
      const std::string error = figures::render_figure(figure, format, dpi, bytes);
      if (!error.empty()) throw std::runtime_error(path.string() + ": " + error);
      files_.emplace_back(path, bytes);
    };
    for (std::size_t k = 0; k < s.tensors.size(); ++k) {
      const results::Result under = separation::result_under(run.result, rows, s.tensors[k]);
      const results::StressMagnitudes stress =
          results::stress_magnitudes(under, run.options.crss_mpa);
      render(figures::result_figure(figures::FigureKind::stereonet, under, stress,
                                    figures::page_width, figures::page_height),
             beside(net, tags[k]));
    }
    render(combined_stereonet(run, s), beside(net, "tensors"));
  }
}

void Tensors::write(const Run& /*run*/) {
  if (asked_.empty()) return;
  if (!console_text_.empty()) std::cout << console_text_ << std::flush;
  for (const auto& [path, bytes] : files_) write_file(path, bytes);
  // A further report of an earlier run with more tensors is left as it is, and said so.
  if (const std::string report = report_name(files_option_); !report.empty() && found_) {
    for (std::size_t k = found_->tensors.size(); k < 3; ++k) {
      const std::filesystem::path stale = beside(report, tags[k]);
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
