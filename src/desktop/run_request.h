// SPDX-License-Identifier: GPL-3.0-or-later
// A run as the New run dialog asks for it, and what becomes of its answers: the lines
// typed into the run's console, exactly as a user would type them, and the folder the
// run works in. Relative names are taken in the parameter file's folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace desktop {

// What to do with the result once the run has written its report.
enum class After { nothing, bootstrap, scan };

struct RunRequest {
  std::string parameter_file;
  std::string data_file;
  std::string report_file;
  double crss_mpa = 10.0;
  After after = After::nothing;
  int32_t resamples = 1000;
  int32_t scan_first = 70;
  int32_t scan_last = 100;
  int32_t scan_step = 5;
};

// The parameter file's folder, absolute: the run's working folder. A relative parameter
// file is taken in `base` (the folder the program started in).
std::string working_folder(const RunRequest& request, const std::string& base);

// A name as it is typed for a run working in `folder`: a file inside that folder by its
// path from there, any other by its absolute path; a relative name stays as it is.
std::string typed_name(const std::string& name, const std::string& folder);

// A name taken in `folder` when relative, as the run will open it.
std::string resolved_name(const std::string& name, const std::string& folder);

// The console lines the dialog's answers become, for a run working in the parameter
// file's folder, in the order the dialogue asks: the Return that continues past the
// banner, then the parameter, data and report files. base as for working_folder.
std::vector<std::string> console_answers(const RunRequest& request, const std::string& base);

// Why the run cannot start as asked, or "" when it can: a name left empty, an input file
// that is not there, or the report named as one of the inputs.
std::string request_problem(const RunRequest& request, const std::string& base);

// The title of the console of run `number` (from 1): the first is "Input/Output", as the
// console always was; the next ones say which run they serve.
std::string console_title(int32_t number);

}  // namespace desktop
