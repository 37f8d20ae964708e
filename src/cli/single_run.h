// SPDX-License-Identifier: GPL-3.0-or-later
// One inversion from the command line: the dialogue, answered by the file names when they
// are given, then the outputs of the extensions after a sound run.
#pragma once

#include <memory>
#include <vector>

#include "cli/extension.h"

namespace cli {

// Returns the run's exit code, or exit_cant_create when an output could not be written.
int run_single(const Options& options, const std::vector<std::unique_ptr<Extension>>& extensions);

}  // namespace cli
