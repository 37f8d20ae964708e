// SPDX-License-Identifier: GPL-3.0-or-later
// What the terminal program's command line is made of: the options every run shares, and
// extensions that each add their own options and write their own outputs after a sound
// run. An extension lives in a file of its own; cli/extensions.cpp lists them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "figures/result_figures.h"
#include "gemino/converged.h"
#include "gemino/search_choice.h"
#include "gemino/state.h"
#include "results/file_output.h"
#include "results/magnitudes.h"
#include "results/result_model.h"

namespace cli {

// Exit codes of the command line itself (a run keeps its own: 0, 1, 2).
inline constexpr int exit_usage = 64;        // a command line that cannot be followed
inline constexpr int exit_no_input = 66;     // a batch site folder that does not exist
inline constexpr int exit_cant_create = 73;  // an output file that could not be written

struct Options {
  std::vector<std::string> files;  // PARAMS DATA REPORT, or none for the dialogue
  double crss_mpa = results::default_crss_mpa;
  std::vector<std::string> batch;  // site folders
  int jobs = 0;                    // processes (or threads) at once; 0: one per processor
  std::string summary;             // the batch summary CSV; empty: standard output
  std::string geojson;             // the batch summary as GeoJSON; empty: none
  int32_t shard_index = 1;         // the batch runs the shard_index-th of shard_count shares
  int32_t shard_count = 1;         // of its sites
  // The search the report gives: the parameter file's (classic) or the converged answer.
  gemino::SearchMode search = gemino::SearchMode::classic;
};

// A finished sound run, as an extension's outputs see it.
struct Run {
  const Options& options;
  const gemino::State& state;
  const results::Result& result;
  const results::StressMagnitudes& stress;
  // Blocks the extensions add to the result's JSON (filled by Extension::prepare), and the
  // marks they add to the stress stereonet (resampled axes, confidence cones).
  nlohmann::ordered_json json_blocks = nlohmann::ordered_json::object();
  figures::StereonetExtras stereonet_marks;
  // Whether any file beside the report was asked for: work that only such outputs show is
  // left out of a plain run.
  bool outputs_asked = false;
  // The converged search that chose the report's tensor (a converged run), else null.
  const gemino::ReportSearch* report_search = nullptr;
  // The converged search of the run's data that checks the report's tensor, once made
  // (cli::checked_search).
  std::optional<gemino::ConvergedResult> checked{};
  // Each plane's tensor, in data row order, when the twins were separated (a last column of
  // the planes CSV); empty otherwise.
  std::vector<int32_t> plane_tensors;
};

class Extension {
 public:
  virtual ~Extension() = default;

  // Adds the extension's options; the values must live in the extension.
  virtual void add_options(CLI::App& app) = 0;

  // The files the extension writes after a single run. A run that fails removes them, so
  // that it leaves none of them behind (not even one of a previous run).
  virtual std::vector<std::filesystem::path> outputs() const { return {}; }

  // Computes what other outputs of the run show (JSON blocks, stereonet marks); called
  // for every extension before any writes.
  virtual void prepare(Run& /*run*/) {}

  // Writes the outputs of a sound run; throws std::runtime_error with a one-line message
  // when one cannot be written (the program then exits with exit_cant_create).
  virtual void write(const Run& /*run*/) {}

  // The search of a converged run when the extension's options decide it (the share of
  // twins it counts); empty to leave it to the run. The converged search that chose it goes
  // into *kept.
  virtual gemino::ChooseSearch converged_search(const Options& /*options*/,
                                                gemino::ReportSearch* /*kept*/) {
    return {};
  }

  // Arguments added to each site's run of a batch (paths relative to the site folder), and
  // a reason the extension's options cannot be used with --batch (empty when they can).
  virtual void site_arguments(std::vector<std::string>& /*args*/) const {}
  virtual std::string batch_conflict() const { return {}; }

  // Columns the extension adds at the end of a batch summary: a name and the JSON pointer
  // of the value in each site's result file. None unless its options ask for them.
  virtual std::vector<std::pair<std::string, std::string>> summary_columns() const { return {}; }

  // A reason the options given cannot be followed (one depends on another not given),
  // found before any run; empty when they can.
  virtual std::string usage_conflict() const { return {}; }
};

// Every extension of the command line, in the order their outputs are written.
std::vector<std::unique_ptr<Extension>> make_extensions();

using results::write_file;

// The files of an extension's outputs() among the names of its options: an empty name
// is a file not asked for.
std::vector<std::filesystem::path> asked_files(std::span<const std::string> names);

}  // namespace cli
