// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal program's command line.
#pragma once

namespace cli {

// Parses the command line and runs: the dialogue (no argument), one run answered by
// PARAMS DATA REPORT, or a batch of sites. Returns the process exit code.
int main(int argc, char** argv);

}  // namespace cli
