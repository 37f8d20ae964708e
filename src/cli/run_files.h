// SPDX-License-Identifier: GPL-3.0-or-later
// The files of one run from the command line: the name the console makes of a typed
// answer, whether two spellings name one file, and the outputs of an earlier run that the
// new run clears away before its report is opened.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/same_file.h"

namespace cli {

// The file name the dialogue opens for an answer as the console delivers it (the bytes of
// one read): the line up to its line feed, carriage returns dropped, tabs turned into
// blanks up to the next multiple of eight, cut at the dialogue's reply length, trailing
// blanks removed. An answer that begins with a blank (or is empty) takes the default
// name and names no new file: nullopt.
std::optional<std::string> console_file_name(std::string_view answer);

// Whether these first bytes of a file are how an output of this program begins: its
// JSON, its planes or resamples CSV, an SVG, a PDF or a PNG.
bool written_by_us(std::string_view head);

// Prepares the outputs of a run before it starts: each one that exists must be a file
// this program wrote, which is then removed, so that a run that ends early (a failure,
// an interrupt) leaves no earlier run's output beside its report. Returns the one-line
// reason (without the program's name) when an output is in the way: not a regular
// writable file, or a file of other content, which is never removed; then nothing is.
std::string clear_earlier_outputs(const std::vector<std::filesystem::path>& outputs);

}  // namespace cli
