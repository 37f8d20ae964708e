// SPDX-License-Identifier: GPL-3.0-or-later
#include "separation/run_outputs.h"

#include <stdexcept>

#include "safe_file/same_file.h"
#include "separation/tensor_report.h"

namespace separation {

Options run_options(const gemino::State& state, int32_t tensors, int32_t jobs) {
  Options options;
  if (state.twin_percent > 0 && state.twin_percent < 100) {
    bool listed = false;
    for (const int32_t p : options.shares) listed = listed || p == state.twin_percent;
    if (!listed) options.shares.insert(options.shares.begin(), state.twin_percent);
  }
  options.tensors = tensors;
  options.trial_count = state.trial_count > 0 ? state.trial_count : 1;
  options.iteration_limit = state.iteration_limit;
  options.seed = state.record.seed;
  options.jobs = jobs;
  return options;
}

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

std::vector<std::pair<std::filesystem::path, std::string>> further_reports(
    const gemino::State& state, const Separation& s, const Options& options,
    const std::filesystem::path& report, std::span<const std::string> run_files) {
  std::vector<std::pair<std::filesystem::path, std::string>> out;
  for (std::size_t k = 1; k < s.tensors.size() && k < 3; ++k) {
    const std::optional<std::string> text =
        tensor_report(state, s.tensors[k], s.share, options.trial_count, options.iteration_limit);
    const std::filesystem::path path = beside(report, tensor_tags[k]);
    if (!text) throw std::runtime_error("the report of tensor " + std::to_string(k + 1));
    for (const std::string& file : run_files) {
      if (safe_file::same_file(path, file)) {
        throw std::runtime_error(path.string() + " is a file of the run: not written over");
      }
    }
    out.emplace_back(path, *text);
  }
  return out;
}

}  // namespace separation
