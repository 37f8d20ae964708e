// SPDX-License-Identifier: GPL-3.0-or-later
// What a separation of a finished run adds beside the run's own outputs, made alike by the
// terminal and the windowed program: the options it runs with, the names of the further
// outputs (report.t2.txt beside report.txt), the planes CSV's `tensor` column and the
// further tensors' reports.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "gemino/state.h"
#include "separation/separation.h"

namespace separation {

// The tags of the tensors' further outputs, first tensor first.
inline constexpr const char* tensor_tags[3] = {"t1", "t2", "t3"};

// The separation of the run held by `state`: `tensors` of them (0: chosen), its share of
// twins tried first when the parameter file counts fewer than all twins and the usual
// shares do not list it, its search parameters and seed; `jobs` threads (0: one per
// processor).
Options run_options(const gemino::State& state, int32_t tensors, int32_t jobs);

// The name of a further output beside `path`: "report.txt" with "t2" gives "report.t2.txt".
std::filesystem::path beside(const std::filesystem::path& path, const std::string& tag);

// The planes CSV with a last column "tensor": each plane's tensor, 0 for none.
std::string with_tensor_column(const std::string& csv, const std::vector<int32_t>& tensors);

// The report of each further tensor (the second, the third) beside `report`, with its text.
// Throws std::runtime_error when a report cannot be made, or when its name is one of
// `run_files` (the run's own files are never written over).
std::vector<std::pair<std::filesystem::path, std::string>> further_reports(
    const gemino::State& state, const Separation& s, const Options& options,
    const std::filesystem::path& report, std::span<const std::string> run_files);

}  // namespace separation
