// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/confidence.h"

#include <algorithm>
#include <charconv>
#include <iostream>
#include <optional>
#include <stdexcept>

#include "bootstrap/bootstrap.h"
#include "bootstrap/confidence_text.h"
#include "bootstrap/converged_reference.h"
#include "bootstrap/crss_range.h"
#include "bootstrap/indistinct.h"
#include "bootstrap/twin_scan.h"
#include "cli/search_check.h"
#include "cli/twin_share_auto.h"
#include "figures/cairo_render.h"
#include "figures/confidence_figures.h"

namespace cli {

namespace {

// A seed is a decimal number 0..2^64-1: no sign, no other base, nothing wrapped round.
std::string seed_check(const std::string& text) {
  uint64_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  const bool digits = !text.empty() && std::all_of(text.begin(), text.end(),
                                                   [](char c) { return c >= '0' && c <= '9'; });
  if (digits && ec == std::errc() && ptr == end) return {};
  return "must be a whole number from 0 to 18446744073709551615, not " + text;
}

}  // namespace

void Confidence::add_options(CLI::App& app) {
  app.add_option("--bootstrap", resamples_,
                 "Resample the grains B times for confidence cones and intervals "
                 "(0: none; 1000 is a good choice)")
      ->type_name("B")
      ->check(CLI::Range(0, 1000000))
      ->group("Confidence");
  app.add_option("--bootstrap-seed", seed_, "Seed of the resampling (default 1)")
      ->type_name("S")
      ->check(CLI::Validator(seed_check, "S", "0 to 2^64-1"))
      ->group("Confidence");
  app.add_option("--bootstrap-csv", csv_, "Write the resampled axes, one row per resample")
      ->type_name("FILE")
      ->group("Confidence");
  app.add_option("--crss-range", crss_range_text_,
                 "Draw the CRSS of each bootstrap resample uniformly in LOW to HIGH MPa, so "
                 "that the differential stress interval carries its uncertainty, e.g. 6:14")
      ->type_name("LOW:HIGH")
      ->check([](const std::string& text) {
        return bootstrap::parse_crss_range(text)
                   ? std::string()
                   : std::string("expects LOW:HIGH in MPa, 0 < LOW <= HIGH, not " + text);
      })
      ->group("Confidence");
  app.add_option("--scan-twin-percent", scan_text_,
                 "Invert again for each share of twins counted, e.g. 70:100:5")
      ->type_name("FIRST:LAST:STEP")
      ->check([](const std::string& text) {
        return bootstrap::parse_scan_range(text)
                   ? std::string()
                   : std::string(
                         "expects FIRST:LAST:STEP, percentages 1 to 100, FIRST up to "
                         "LAST, STEP from 1 to LAST - FIRST");
      })
      ->group("Confidence");
  app.add_option("--scan-figure", scan_figure_,
                 "Draw the scan: sigma1 and sigma3 angles and the differential stress against "
                 "the share of twins (.svg, .pdf or .png)")
      ->type_name("FILE")
      ->check([](const std::string& name) {
        return figures::format_of(name) == figures::FileFormat::unknown
                   ? name + ": a figure's name must end in .svg, .pdf or .png"
                   : std::string();
      })
      ->group("Confidence");
  app.add_option("--twin-percent", twin_percent_text_,
                 "auto: scan the share of twins counted (over --scan-twin-percent, else 50:100:1) "
                 "and give the tensor, the bootstrap and the magnitudes beyond the report at "
                 "the suggested share; the report keeps the parameter file's share, unless "
                 "--search converged is given: the report is then the run at that share")
      ->type_name("auto")
      ->check([](const std::string& text) {
        return text == "auto" ? std::string() : std::string("expects auto, not " + text);
      })
      ->group("Confidence");
  app.add_flag("--confidence-summary", summary_,
               "Show the bootstrap summary and the scan table on the console")
      ->group("Confidence");
  dpi_option_ = app.get_option_no_throw("--dpi");
}

std::vector<std::filesystem::path> Confidence::outputs() const {
  const std::string names[] = {csv_, scan_figure_};
  return asked_files(names);
}

void Confidence::prepare(Run& run) {
  const bool automatic = !twin_percent_text_.empty();
  if (resamples_ <= 0 && scan_text_.empty() && !automatic) return;
  // Centred on the converged answer of the full data: the report's tensor unless the
  // converged search found one that fits the data better.
  bootstrap::RunInput input = bootstrap::with_converged_reference(
      bootstrap::run_input(run.state, run.options.crss_mpa), checked_search(run),
      gemino::ConvergedOptions{}.tolerance);
  std::optional<bootstrap::Scan> scan;
  nlohmann::ordered_json auto_block;
  std::string scan_console;
  if (!scan_text_.empty() || automatic) {
    const bootstrap::ScanRange range =
        automatic ? auto_range(scan_text_) : *bootstrap::parse_scan_range(scan_text_);
    if (before_run_) {
      // The scan that chose the share the run counted; the run's tensor is the one at
      // that share, and the angles are measured from it.
      scan = before_run_->scan;
      measure_from(*scan, input.reference);
    } else {
      scan = bootstrap::run_scan(input, range, run.options.jobs);
    }
    if (summary_) scan_console = bootstrap::scan_table_text(*scan);
    if (automatic) {
      const ChosenShare chosen =
          before_run_ ? before_run_->chosen : choose_share(*scan, run.state.twin_percent);
      const int32_t report_percent =
          report_twin_percent(chosen, run.state.twin_percent, before_run_.has_value());
      // A run at the chosen share already is the run the results beyond the report need.
      if (!before_run_) input = input_at_share(input, *scan, chosen);
      auto_block = auto_json(chosen, input, report_percent,
                             before_run_ ? before_run_->file_twin_percent : run.state.twin_percent,
                             run.options.crss_mpa);
      if (summary_) scan_console += auto_text(chosen, report_percent);
    }
    if (!scan_figure_.empty()) {
      const int32_t dpi = dpi_option_ != nullptr && dpi_option_->count() > 0
                              ? dpi_option_->as<int32_t>()
                              : figures::default_dpi;
      const std::string error = figures::render_figure(
          figures::scan_figure(*scan, figures::page_width, figures::page_height,
                               figures::title_of(run.result), run.options.crss_mpa),
          figures::format_of(scan_figure_), dpi, scan_figure_bytes_);
      if (!error.empty()) throw std::runtime_error(scan_figure_ + ": " + error);
    }
  }
  if (resamples_ > 0) {
    bootstrap::Options options;
    options.resamples = resamples_;
    options.seed = seed_;
    options.jobs = run.options.jobs;
    if (!crss_range_text_.empty())
      options.crss_range = bootstrap::parse_crss_range(crss_range_text_);
    const bootstrap::Summary s = bootstrap::run_bootstrap(input, options);
    run.json_blocks["bootstrap"] = bootstrap::bootstrap_json(s);
    run.stereonet_marks = figures::confidence_marks(s, input.reference);
    if (!csv_.empty()) csv_text_ = bootstrap::resamples_csv(s);
    if (summary_) {
      console_text_ += bootstrap::bootstrap_summary_text(s);
      const gemino::ConvergedResult& search = checked_search(run);
      if (search.status == gemino::InversionStatus::done) {
        console_text_ += bootstrap::extent_text(search, run.options.crss_mpa,
                                                gemino::ConvergedOptions().tolerance);
      }
    }
  }
  if (scan) {
    run.json_blocks["scan"] = bootstrap::scan_json(*scan, run.state.twin_percent);
    console_text_ += scan_console;
  }
  if (automatic) run.json_blocks["twin_percent_auto"] = auto_block;
}

gemino::ChooseSearch Confidence::converged_search(const Options& options,
                                                  gemino::ReportSearch* kept) {
  before_run_.reset();
  if (twin_percent_text_.empty()) return {};
  return converged_at_share(auto_range(scan_text_), options.jobs, options.crss_mpa, &before_run_,
                            kept);
}

void Confidence::write(const Run& /*run*/) {
  if (!console_text_.empty()) std::cout << console_text_ << std::flush;
  if (!csv_.empty()) {
    if (resamples_ <= 0) throw std::runtime_error("--bootstrap-csv needs --bootstrap B");
    write_file(csv_, csv_text_);
  }
  if (!scan_figure_.empty()) {
    if (scan_text_.empty() && twin_percent_text_.empty()) {
      throw std::runtime_error("--scan-figure needs --scan-twin-percent");
    }
    write_file(scan_figure_, scan_figure_bytes_);
  }
}

void Confidence::site_arguments(std::vector<std::string>& args) const {
  if (resamples_ > 0) {
    args.insert(args.end(), {"--bootstrap", std::to_string(resamples_), "--bootstrap-seed",
                             std::to_string(seed_)});
    if (!crss_range_text_.empty()) args.insert(args.end(), {"--crss-range", crss_range_text_});
  }
  if (!scan_text_.empty()) args.insert(args.end(), {"--scan-twin-percent", scan_text_});
  if (!twin_percent_text_.empty()) args.insert(args.end(), {"--twin-percent", twin_percent_text_});
}

std::string Confidence::usage_conflict() const {
  if (!csv_.empty() && resamples_ <= 0) return "--bootstrap-csv needs --bootstrap B (B above 0)";
  if (!crss_range_text_.empty() && resamples_ <= 0) {
    return "--crss-range needs --bootstrap B (B above 0)";
  }
  if (!scan_figure_.empty() && scan_text_.empty() && twin_percent_text_.empty()) {
    return "--scan-figure needs --scan-twin-percent FIRST:LAST:STEP";
  }
  return {};
}

std::string Confidence::batch_conflict() const {
  if (!crss_range_text_.empty() && resamples_ <= 0) {
    return "--crss-range needs --bootstrap B (B above 0)";
  }
  if (csv_.empty() && scan_figure_.empty()) return {};
  return "--bootstrap-csv and --scan-figure name the files of one run";
}

}  // namespace cli
