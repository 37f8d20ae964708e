// SPDX-License-Identifier: GPL-3.0-or-later
// What Help > About Gemino says, and where the user guide bundled with the program is.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace desktop {

// The guide's file name, as docs/ holds it and the install copies it.
inline constexpr std::string_view guide_file = "user-guide.md";

// Where the guide may be, in the order tried: beside the program, in a docs folder beside
// it (a build tree copies the documentation there), then the installed documentation
// (bin/../share/doc/gemino/docs/). program_dir is the folder holding the executable, with
// or without a closing slash.
std::vector<std::string> guide_candidates(std::string_view program_dir);

// The first candidate that exists, or empty when none does.
std::string find_guide(std::string_view program_dir,
                       const std::function<bool(const std::string&)>& exists);

// The About box's text: name and version, copyright and licence, how to cite the program
// and where the guide is (guide_path empty: the places it was looked for).
std::string about_text(std::string_view guide_path, std::string_view program_dir);

}  // namespace desktop
