// SPDX-License-Identifier: GPL-3.0-or-later
// What a batch makes sure of before it runs anything, and before each site's run: the
// summary is none of the sites' files and has a folder to go in, no site is named twice,
// and a site's folder holds its inputs and lets its run write there without writing
// through a link or into a pipe, a device or a folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace cli {

// The files a site's run reads or writes, relative to its folder: the inputs, the report,
// the result, the console, and every file named by the extensions' site arguments.
std::vector<std::string> site_files(const std::vector<std::string>& site_args);

// Why the batch cannot be run as asked (a usage mistake: a site named twice, a summary
// that is one of the sites' files or in a folder that does not exist), or empty. `option`
// names the option that gave the summary's name (another file the batch writes is checked
// the same way).
std::string batch_usage_problem(const std::vector<std::string>& sites, const std::string& summary,
                                const std::vector<std::string>& files,
                                const char* option = "--summary");

// Why the summary (or another file the batch writes, `what`) cannot be written where it is
// asked (a link, a pipe, a device, a folder, a folder that is read-only), or empty.
std::string summary_target_problem(const std::string& summary, const char* what = "the summary");

// What a site's folder allows: code 0 when the site can run; exit_no_input (with no reason
// given) when the folder or one of its inputs is missing; exit_cant_create with a reason
// when one of the files the run writes could not be written safely.
struct SiteCheck {
  int code = 0;
  std::string reason;
};
SiteCheck check_site(const std::filesystem::path& folder, const std::vector<std::string>& written);

}  // namespace cli
