// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/run_request.h"

#include <filesystem>
#include <system_error>

namespace desktop {

namespace fs = std::filesystem;

namespace {

fs::path absolute_in(const std::string& name, const std::string& folder) {
  const fs::path path(name);
  return (path.is_absolute() ? path : fs::path(folder) / path).lexically_normal();
}

}  // namespace

std::string working_folder(const RunRequest& request, const std::string& base) {
  if (request.parameter_file.empty()) return {};
  return absolute_in(request.parameter_file, base).parent_path().string();
}

std::string typed_name(const std::string& name, const std::string& folder) {
  const fs::path path(name);
  if (!path.is_absolute()) return name;
  const fs::path inside = path.lexically_normal().lexically_relative(fs::path(folder));
  if (inside.empty() || *inside.begin() == "..") return path.lexically_normal().string();
  return inside.string();
}

std::string resolved_name(const std::string& name, const std::string& folder) {
  return absolute_in(name, folder).string();
}

std::vector<std::string> console_answers(const RunRequest& request, const std::string& base) {
  const std::string folder = working_folder(request, base);
  return {"", typed_name(resolved_name(request.parameter_file, base), folder),
          typed_name(request.data_file, folder), typed_name(request.report_file, folder)};
}

std::string request_problem(const RunRequest& request, const std::string& base) {
  if (request.parameter_file.empty()) return "Choose a parameter file.";
  if (request.data_file.empty()) return "Choose a data file.";
  if (request.report_file.empty()) return "Name the report file.";
  const std::string folder = working_folder(request, base);
  std::error_code ec;
  const fs::path parameters = resolved_name(request.parameter_file, base);
  const fs::path data = resolved_name(request.data_file, folder);
  const fs::path report = resolved_name(request.report_file, folder);
  if (!fs::is_regular_file(parameters, ec)) {
    return "The parameter file " + parameters.string() + " is not there.";
  }
  if (!fs::is_regular_file(data, ec)) return "The data file " + data.string() + " is not there.";
  if (report == parameters || report == data ||
      (fs::exists(report, ec) &&
       (fs::equivalent(report, parameters, ec) || fs::equivalent(report, data, ec)))) {
    return "The report would replace an input file: give it another name.";
  }
  return {};
}

std::string console_title(int32_t number) {
  if (number <= 1) return "Input/Output";
  return "Run " + std::to_string(number) + " \u2014 Input/Output";
}

}  // namespace desktop
