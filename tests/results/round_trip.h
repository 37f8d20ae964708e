// SPDX-License-Identifier: GPL-3.0-or-later
// Whole runs inside the test process, so that the result model of the run can be read
// from the computation's state, and the lines of a report rebuilt from that model with the
// report's own formats.
#pragma once

#include <string>
#include <vector>

#include "gemino/io_files.h"
#include "results/result_model.h"

namespace results_test {

using gemino_test::Lines;

// Runs the driver in `dir` (holding params.txt and data.txt), the console answering the
// header pause and the three file questions; returns the exit code.
int run_in(const gemino_test::ScratchDir& dir);

// The tensor block as report_tensor writes it, from the first "SIGMA 1" line down to the
// line of stars, without the blank lines; `listed` is the signed numbers of the planes
// ranked down to the threshold (the report's listing).
Lines tensor_block(const results::TensorResult& t, const std::vector<int32_t>& listed);

// The ranking of every plane as report_ranking writes it, without the blank lines, then the
// threshold line.
Lines ranking_lines(const results::Result& r);

// The planes in ranking order, as signed numbers.
std::vector<int32_t> ranked_numbers(const results::Result& r);

// The non-blank lines of `report` from line `from` to the line that begins with `until`
// (included), or to the end.
Lines non_blank(const Lines& report, std::size_t from, const std::string& until);

// Lines without trailing blanks.
Lines trimmed(Lines lines);

}  // namespace results_test
