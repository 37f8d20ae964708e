// SPDX-License-Identifier: GPL-3.0-or-later
#include "results_qt/run_exports.h"

#include <exception>

#include "results/file_output.h"
#include "results/json_export.h"
#include "results/magnitudes.h"
#include "results_qt/run_results.h"
#include "safe_file/same_file.h"
#include "separation/outputs.h"
#include "separation/run_outputs.h"

namespace results_qt {

namespace {

// The blocks of a computation, in the order of the terminal program's JSON.
constexpr const char* block_order[] = {"bootstrap", "scan", "twin_percent_auto"};

}  // namespace

void keep_block(RunResults& run, const std::string& key, nlohmann::ordered_json json,
                double crss_mpa) {
  run.blocks[key] = KeptBlock{std::move(json), crss_mpa};
}

RunJson run_json(const RunResults& run, const results::Result& r, double crss_mpa) {
  RunJson out;
  out.json = results::to_json(r, results::stress_magnitudes(r, crss_mpa));
  for (const char* key : block_order) {
    const auto kept = run.blocks.find(key);
    if (kept == run.blocks.end()) continue;
    if (kept->second.crss_mpa != crss_mpa) {
      out.left_out.emplace_back(key);
      continue;
    }
    out.json[key] = kept->second.json;
  }
  // The separation's stresses follow from its thresholds: worked out for the CRSS of now.
  if (run.separation) {
    out.json["tensors"] = separation::tensors_json(*run.separation, run.tensors_asked, crss_mpa);
  }
  return out;
}

std::string run_csv(const RunResults& run, const results::Result& r) {
  const std::string csv = results::planes_csv(r);
  return run.separation ? separation::with_tensor_column(csv, run.separation->plane_tensor) : csv;
}

Outcome write_output(const std::vector<std::string>& run_files, const std::string& what,
                     const std::string& path, const std::string& bytes) {
  for (const std::string& file : run_files) {
    if (safe_file::same_file(path, file)) {
      return {false, what + " not written to " + path + ": it is a file of the run"};
    }
  }
  try {
    results::write_file(path, bytes);
  } catch (const std::exception& e) {
    return {false, what + " not written to " + path + ": " + e.what()};
  }
  return {true, what + " written to " + path};
}

}  // namespace results_qt
